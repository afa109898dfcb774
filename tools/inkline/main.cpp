// The inkline command: renders annotation layers and runs the markup
// conversions from the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"

#ifndef INKLINE_VERSION
#define INKLINE_VERSION "unknown"
#endif

namespace {

const char* const kUsage =
    "usage: inkline COMMAND [options]\n"
    "  inkline render LAYER -o OUT.png|OUT.svg|OUT.pdf   draw a layer (any vector format GDAL reads)\n"
    "  inkline render LAYER --trace                      print the device calls\n"
    "  inkline place LAYER -o PLACED.geojson             place the labels where none overlaps another\n"
    "  inkline to-html TEXT [options]                    the markup of a plain annotation\n"
    "  inkline to-text MARKUP|-                          take markup apart\n"
    "  inkline COMMAND --help                            the options of a command\n"
    "  inkline --version\n";

// The last argument an option that needs a value: CLI11 would only say a
// count was wrong.
std::string MissingValue(const CLI::App& sub, int argc, char** argv) {
  if (argc < 3) return "";
  const std::string last = argv[argc - 1];
  if (last.size() < 2 || last[0] != '-' || last.find('=') != std::string::npos) return "";
  const CLI::Option* o = sub.get_option_no_throw(last);
  return o && o->get_type_size() > 0 ? "option " + last + " needs a value" : "";
}

// Unknown options and stray arguments CLI11 left over, in the command's words.
std::string Leftovers(const CLI::App& sub) {
  for (const std::string& a : sub.remaining()) {
    if (a.size() > 1 && a[0] == '-') return "unknown option " + a.substr(0, a.find('='));
    return "unexpected argument \"" + a + "\"";
  }
  return "";
}

}  // namespace

const char* const kExitCodesHelp =
    "Exit codes: 0 done (warnings may have been printed), 2 the command line is wrong,\n"
    "3 an input (layer, font table, font file) cannot be used, 4 the output cannot be\n"
    "written; a run stopped by a signal leaves no file behind.";

int UsageError(const std::string& problem, const std::string& subcommand) {
  std::fprintf(stderr, "inkline: %s\n", problem.c_str());
  std::fprintf(stderr, "run 'inkline %s--help' for the options\n",
               subcommand.empty() ? "" : (subcommand + " ").c_str());
  return kExitUsage;
}

int main(int argc, char** argv) {
  CLI::App app("inkline: draws map annotation text", "inkline");
  app.set_version_flag("--version", "inkline " INKLINE_VERSION);
  app.footer(kExitCodesHelp);
  app.require_subcommand(0, 1);
  struct Entry {
    const char* name;
    const char* help;
    std::unique_ptr<Subcommand> (*add)(CLI::App&);
  };
  const Entry entries[] = {{"render", "draw a layer into a picture or a trace", AddRender},
                           {"place", "place a layer's labels where none overlaps another", AddPlace},
                           {"to-html", "the markup of a plain annotation", AddToHtml},
                           {"to-text", "take an annotation's markup apart", AddToText}};
  std::vector<std::pair<CLI::App*, std::unique_ptr<Subcommand>>> subs;
  for (const Entry& e : entries) {
    CLI::App* sub = app.add_subcommand(e.name, e.help);
    sub->allow_extras();
    sub->footer(kExitCodesHelp);
    subs.emplace_back(sub, e.add(*sub));
  }
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  const std::string first = argv[1];
  if (first == "help") {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  bool known = first[0] == '-';
  for (const Entry& e : entries) known = known || first == e.name;
  if (!known) return UsageError("unknown command " + first, "");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    for (auto& [sub, command] : subs) {
      if (first != sub->get_name()) continue;
      const std::string missing = MissingValue(*sub, argc, argv);
      if (!missing.empty()) return UsageError(missing, first);
    }
    return UsageError(e.what(), first[0] == '-' ? "" : first);
  }
  for (auto& [sub, command] : subs) {
    if (!sub->parsed()) continue;
    const std::string left = Leftovers(*sub);
    if (!left.empty()) return UsageError(left, sub->get_name());
    return command->Run();
  }
  std::fputs(kUsage, stdout);
  return kExitOk;
}
