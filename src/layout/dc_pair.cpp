#include "layout/dc_pair.h"

namespace layout {

HGDIOBJ DcPair::Select(HGDIOBJ obj) const {
  HGDIOBJ previous = nullptr;
  if (output != attribute) previous = SelectObject(output, obj);
  if (attribute) previous = SelectObject(attribute, obj);
  return previous;
}

int DcPair::SetBackgroundMode(int mode) const {
  int previous = 0;
  if (output && output != attribute) previous = SetBkMode(output, mode);
  if (attribute) previous = SetBkMode(attribute, mode);
  return previous;
}

}  // namespace layout
