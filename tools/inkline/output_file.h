// The file a render writes: a temporary file beside the destination, made
// before any input is read (so an unwritable output fails at once), removed
// if the run fails or is interrupted, renamed into place when it succeeds.
#ifndef INKLINE_TOOLS_OUTPUT_FILE_H
#define INKLINE_TOOLS_OUTPUT_FILE_H

#include <string>

class OutputFile {
 public:
  // Creates the temporary file for path ("-": standard output, through a
  // temporary file in TMPDIR). False with *error when it cannot.
  bool Prepare(const std::string& path, std::string* error);
  ~OutputFile();
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::string& temp() const { return temp_; }
  const std::string& path() const { return path_; }
  // Moves the finished temporary file into place (or copies it to standard
  // output); false with *error when it cannot.
  bool Commit(std::string* error);

 private:
  std::string path_, temp_;
  bool committed_ = false;
};

// Removes the current temporary file on SIGINT, SIGTERM or SIGHUP, then
// dies of the signal as usual. Installed once by the command.
void RemoveTempFileOnSignals();

#endif  // INKLINE_TOOLS_OUTPUT_FILE_H
