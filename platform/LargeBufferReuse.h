#pragma once

namespace meridavolt {

// Has the C library keep the memory of large blocks for reuse instead of
// mapping fresh pages for each one and giving them back when it is freed.
// Every frame of a web view passes through a few window-sized buffers; left
// to the defaults, each is newly mapped and faulted in page by page (about
// 100,000 page faults a second for one animated page), which costs the UI
// process more than the drawing itself. Call once, first thing in main.
void keepLargeBuffersForReuse();

}  // namespace meridavolt
