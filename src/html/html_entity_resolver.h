// Resolves the named character references of the markup: &quot; &amp; &apos;
// &lt; &gt; and &nbsp; (a plain space). Nothing else: no numeric references,
// no case folding, no reference without its ";".
#ifndef INKLINE_SRC_HTML_HTML_ENTITY_RESOLVER_H
#define INKLINE_SRC_HTML_HTML_ENTITY_RESOLVER_H

class CHTMLEntityResolver {
 public:
  CHTMLEntityResolver();
  virtual ~CHTMLEntityResolver();
  CHTMLEntityResolver(const CHTMLEntityResolver&) = default;
  CHTMLEntityResolver& operator=(const CHTMLEntityResolver&) = default;

  // text points where a reference may begin (white space before the "&" is
  // skipped). On success stores the byte in out and returns the bytes from
  // text through the ";"; otherwise returns 0 and leaves out unchanged.
  int ResolveEntity(const char* text, char& out) const;
};

#endif  // INKLINE_SRC_HTML_HTML_ENTITY_RESOLVER_H
