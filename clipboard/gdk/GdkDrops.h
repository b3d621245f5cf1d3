#pragma once

#include "clipboard/DropItem.h"

#include <functional>
#include <memory>
#include <vector>

#include <glib-object.h>

typedef struct _GdkDrop GdkDrop;

namespace meridavolt {

// The type of an entry dragged inside this process, as a GValue holding the
// payload's JSON (a boxed std::string). It has no mime serialiser, so GDK
// never offers it to another client.
GType memoryDragGType();

// Reads what the store's ways need from a drop, each read bounded in size and
// time, and hands over the items (empty when nothing usable came). The drop is
// left unfinished: the caller finishes it, so a source can keep its data
// until every read is done.
//
// The own payload is trusted only from a drag of this process. Images are
// read up to 50 MiB + 1 byte (an oversize image reaches the store's message),
// texts up to 100,000 bytes + 1 (an oversize text is refused silently),
// uri-lists up to 1 MiB; each address of a uri-list is an item of its own.
void readDropItems(GdkDrop* drop, std::function<void(std::vector<std::shared_ptr<DropItem>>)> done);

// The types a drop offers as the store names them.
std::vector<std::string> dropTypes(GdkDrop* drop);

}  // namespace meridavolt
