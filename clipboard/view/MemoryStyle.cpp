#include "clipboard/view/MemoryStyle.h"

namespace meridavolt {

namespace {

// Orange (#ff9500) is the clipboard memory's accent. Outlines are inset
// shadows so that a thicker one while a drag hovers never changes the card's size.
constexpr const char* styleSheet = R"css(
.memory-shelf { padding: 12px 18px; background-color: alpha(currentColor, 0.015); }
.memory-shelf.compact { padding: 4px; }

button.memory-card {
  padding: 0; min-width: 0; min-height: 0; border: none;
  border-radius: 12px;
  background-color: alpha(@theme_base_color, 0.92);
  background-image: none;
  box-shadow: inset 0 0 0 1px rgba(255, 149, 0, 0.22), 0 3px 5px rgba(0, 0, 0, 0.07);
}
button.memory-card:hover { background-color: mix(@theme_base_color, #ff9500, 0.04); }
button.memory-card.targeted { box-shadow: inset 0 0 0 2px #ff9500, 0 3px 5px rgba(0, 0, 0, 0.07); }
.memory-card .card-header { color: #ff9500; }
.memory-card .card-number { font-size: 9px; font-weight: bold; font-family: monospace; }
.memory-card .card-text { font-size: 11px; font-weight: 500; }
.memory-card .card-text.empty-slot { color: alpha(currentColor, 0.55); }

button.memory-button {
  padding: 0 12px; min-height: 44px; border: none;
  border-radius: 14px; background: none; box-shadow: none;
}
.memory-button .memory-brand { font-size: 12px; font-weight: 500; }
.memory-button .memory-count {
  font-size: 10px; font-weight: bold; color: #ff9500;
  padding: 5px; min-width: 10px; border-radius: 999px;
  background-color: rgba(255, 149, 0, 0.12);
}
)css";

}  // namespace

void ensureMemoryStyle() { addStyleSheetOnce("meridavolt-memory-style", styleSheet); }

}  // namespace meridavolt
