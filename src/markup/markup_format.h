// The annotation markup document as the library writes it.
#ifndef INKLINE_SRC_MARKUP_MARKUP_FORMAT_H
#define INKLINE_SRC_MARKUP_MARKUP_FORMAT_H

// Values in order: bgcolor, angle, space, size, hvpl, face, color, the opening
// style tag, the text with each CR LF written as <p>, the closing style tag.
// The blanks between the body attributes are part of the format.
#define INKLINE_MARKUP_FORMAT                                                           \
  "<body bgcolor=%d angle=%f  space=%f  size=%f  hvpl=%d><font face=%d color=%d>%s%s%s" \
  "</font></body>"

// The opening and closing tag of one of the four text styles.
struct MarkupStyleTags {
  const char* Opening;
  const char* Closing;
};

// Style number 1 italic, 2 bold, 3 underline, 4 strike-out; any other number
// has no tags. The underline tags carry a space, which becomes document text.
inline MarkupStyleTags MarkupStyleTagsOf(short style) {
  switch (style) {
    case 1:
      return {"<em>", "</em>"};
    case 2:
      return {"<strong>", "</strong>"};
    case 3:
      return {"<u> ", "</u> "};
    case 4:
      return {"<strike>", "</strike>"};
    default:
      return {"", ""};
  }
}

#endif  // INKLINE_SRC_MARKUP_MARKUP_FORMAT_H
