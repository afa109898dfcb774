// The six named references and everything that is not one of them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "html/html_entity_resolver.h"

namespace {

TEST(HtmlEntityResolver, ResolvesTheSixNames) {
  struct {
    const char* text;
    int consumed;
    char byte;
  } const cases[] = {
      {"&amp;x", 5, '&'},  {"&nbsp;", 6, ' '}, {"&quot;", 6, '"'}, {"&apos;", 6, '\''},
      {"&lt;", 4, '<'},    {"&gt;;", 4, '>'},  {"&lt;&gt;", 4, '<'},
      // White space before the "&" is skipped and counted.
      {" \t&lt;", 6, '<'},
  };
  const CHTMLEntityResolver resolver;
  for (const auto& c : cases) {
    char out = 'X';
    EXPECT_EQ(resolver.ResolveEntity(c.text, out), c.consumed) << c.text;
    EXPECT_EQ(out, c.byte) << c.text;
  }
}

TEST(HtmlEntityResolver, AnythingElseIsNoReference) {
  const char* notReferences[] = {
      "&Lt;", "&#60;", "&#x3C;", "&copy;", "& lt;", "&lt", "&lt and more; text", "&g;",
      "&;",   "&",     "",       "lt;",    "x&lt;", "&amp",  "&amp x;",           "&lt ;",
      "&AMP;", "&nbsp",  "&\xb0;lt;", "&lt\xb0;",
  };
  const CHTMLEntityResolver resolver;
  for (const char* text : notReferences) {
    char out = 'X';
    EXPECT_EQ(resolver.ResolveEntity(text, out), 0) << text;
    EXPECT_EQ(out, 'X') << text;
  }
}

TEST(HtmlEntityResolver, ALeadByteBeforeTheEndIsOneByte) {
  for (const std::string text : {"&\xb0", "&l\xb0", "&lt\xb0", "&quot\xb0"}) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    char out = 'X';
    EXPECT_EQ(CHTMLEntityResolver().ResolveEntity(copy.get(), out), 0) << text;
  }
}

}  // namespace
