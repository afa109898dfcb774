// The command's subcommands and what they share.
#ifndef INKLINE_TOOLS_COMMANDS_H
#define INKLINE_TOOLS_COMMANDS_H

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

// Exit codes, as --help and the README document them.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;   // the command line is wrong
constexpr int kExitInput = 3;   // a layer, font table or font file cannot be used
constexpr int kExitOutput = 4;  // the output cannot be written

extern const char* const kExitCodesHelp;

// A subcommand: declares its options on its CLI11 app, then runs once they
// are parsed, returning the exit code.
class Subcommand {
 public:
  virtual ~Subcommand() = default;
  virtual int Run() = 0;
};

std::unique_ptr<Subcommand> AddRender(CLI::App& app);
std::unique_ptr<Subcommand> AddPlace(CLI::App& app);
std::unique_ptr<Subcommand> AddToHtml(CLI::App& app);
std::unique_ptr<Subcommand> AddToText(CLI::App& app);

// Prints "inkline: problem" with a pointer to the subcommand's help; returns kExitUsage.
int UsageError(const std::string& problem, const std::string& subcommand);

#endif  // INKLINE_TOOLS_COMMANDS_H
