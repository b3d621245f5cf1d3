#pragma once

typedef struct _GtkWidget GtkWidget;

namespace meridavolt {

// Keeps a web view from loading a dropped script address. The view loads a
// dropped link itself, in its main frame, when the page does not take the
// drop, and such a load runs a javascript: address in the page's origin
// without asking the navigation policy. A drop whose text/uri-list or
// _NETSCAPE_URL holds one, or could not be read in time, does nothing; every
// other drop goes to the view as before.
void guardDroppedScriptAddresses(GtkWidget* webView);

}  // namespace meridavolt
