#include "clipboard/view/WholeTextLines.h"

#include "platform/Text.h"

namespace meridavolt {

void setWholeTextLines(Gtk::Label& label, std::string_view text)
{
    const std::string shown = replaceLineBreaks(text, "\u2028");
    if (label.get_text().raw() != shown) label.set_text(shown);
}

}  // namespace meridavolt
