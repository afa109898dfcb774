// One attribute of a markup tag: a name and a normalised value.
#ifndef INKLINE_SRC_HTML_HTML_ELEM_ATTR_H
#define INKLINE_SRC_HTML_HTML_ELEM_ATTR_H

#include <string>

class CHTMLElemAttr {
 public:
  // Either argument may be null, meaning empty. The value is taken as given.
  explicit CHTMLElemAttr(const char* name = nullptr, const char* value = nullptr);
  CHTMLElemAttr(const CHTMLElemAttr& other) = default;
  CHTMLElemAttr& operator=(const CHTMLElemAttr& other) = default;
  CHTMLElemAttr(CHTMLElemAttr&& other) noexcept = default;
  CHTMLElemAttr& operator=(CHTMLElemAttr&& other) noexcept = default;

  // Parses one attribute (name, or name=value with the value unquoted or in
  // single or double quotes) after optional white space at text. Returns the
  // bytes consumed from text, or 0 when no attribute stands there; the object
  // is then unchanged.
  int ParseAttribute(const char* text);

  // Assigns the value trimmed of white space, with line feeds removed and
  // carriage returns and tabs turned into spaces.
  void SetValue(const std::string& value);

  std::string GetName() const { return Name; }

  // Case kept as written.
  std::string Name;
  // Empty when the attribute has no "="; read directly by the tag handlers.
  std::string Value;

 private:
  // SetValue of the bytes [begin, end).
  void AssignValue(const char* begin, const char* end);
};

#endif  // INKLINE_SRC_HTML_HTML_ELEM_ATTR_H
