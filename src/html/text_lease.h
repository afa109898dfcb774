// The string a reader collects character data in during one parse. A thread
// keeps one from parse to parse, so a reader made for every string (as the
// rich-text drawing makes them) allocates no text of its own. A parse begun
// inside another's handler on the same thread, and the Windows library,
// whose thread-local destructors would outlive it, use the reader's string.
#ifndef INKLINE_SRC_HTML_TEXT_LEASE_H
#define INKLINE_SRC_HTML_TEXT_LEASE_H

#include <string>

class TextLease {
 public:
  // Leases the thread's string, or own when that is taken; either is empty.
  explicit TextLease(std::string& own);
  ~TextLease();
  TextLease(const TextLease&) = delete;
  TextLease& operator=(const TextLease&) = delete;

  std::string& Text() const { return *Leased; }

 private:
  std::string* Leased;
  bool FromThread = false;
};

#endif  // INKLINE_SRC_HTML_TEXT_LEASE_H
