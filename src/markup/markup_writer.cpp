#include "markup/markup_writer.h"

#include <cstdio>
#include <vector>

#include "markup/markup_format.h"
#include "markup/markup_text.h"

std::optional<std::string> WriteMarkup(const char* text, const MarkupParameters& params) {
  std::string body = text;
  ReplaceInText(body, "\r\n", "<p>");
  const MarkupStyleTags tags = MarkupStyleTagsOf(params.Style);
  // hvpl is an 8-bit signed number whatever the signedness of char.
  const int hvpl = static_cast<signed char>(params.Hvpl);

  auto format = [&](char* out, std::size_t room) {
    return std::snprintf(out, room, INKLINE_MARKUP_FORMAT, params.Bgcolor,
                         static_cast<double>(params.Angle), static_cast<double>(params.Space),
                         params.Size, hvpl, static_cast<int>(params.Face), params.Color,
                         tags.Opening, body.c_str(), tags.Closing);
  };
  const int length = format(nullptr, 0);
  if (length < 0) return std::nullopt;
  std::vector<char> out(static_cast<std::size_t>(length) + 1);
  if (format(out.data(), out.size()) != length) return std::nullopt;
  return std::string(out.data(), static_cast<std::size_t>(length));
}
