#include "host/app/MenuTable.h"

namespace qd3 {

std::string GtkMnemonicLabel(std::string_view text) {
  std::string label;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\t') break;
    if (c == '&') {
      // "&&" is a literal ampersand.
      if (i + 1 < text.size() && text[i + 1] == '&') {
        label += '&';
        ++i;
      } else {
        label += '_';
      }
    } else if (c == '_') {
      label += "__";
    } else {
      label += c;
    }
  }
  return label;
}

}  // namespace qd3
