#include "editors/view/WholeTextEntry.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <string>

namespace meridavolt {

namespace {

// An entry buffer over a std::string, with no size limit of its own (a
// maximum length set on the entry still applies, as GTK checks it before
// inserting).
struct WholeTextBuffer {
    GtkEntryBuffer parent;
    std::string* text;
    guint length;  // in characters
};

struct WholeTextBufferClass {
    GtkEntryBufferClass parent;
};

G_DEFINE_TYPE(WholeTextBuffer, whole_text_buffer, GTK_TYPE_ENTRY_BUFFER)

WholeTextBuffer* self(GtkEntryBuffer* buffer) { return reinterpret_cast<WholeTextBuffer*>(buffer); }

const char* getText(GtkEntryBuffer* buffer, gsize* bytes)
{
    const std::string& text = *self(buffer)->text;
    if (bytes) *bytes = text.size();
    return text.c_str();
}

guint getLength(GtkEntryBuffer* buffer) { return self(buffer)->length; }

std::size_t byteOffset(const std::string& text, guint position)
{
    return static_cast<std::size_t>(g_utf8_offset_to_pointer(text.c_str(), position) - text.c_str());
}

guint insertText(GtkEntryBuffer* buffer, guint position, const char* chars, guint count)
{
    auto* whole = self(buffer);
    const auto bytes = static_cast<std::size_t>(g_utf8_offset_to_pointer(chars, count) - chars);
    whole->text->insert(byteOffset(*whole->text, position), chars, bytes);
    whole->length += count;
    gtk_entry_buffer_emit_inserted_text(buffer, position, chars, count);
    return count;
}

// The text is taken out when "deleted-text" runs its default handler, so that
// handlers connected before it still see what goes.
guint deleteText(GtkEntryBuffer* buffer, guint position, guint count)
{
    const guint length = self(buffer)->length;
    position = std::min(position, length);
    count = std::min(count, length - position);
    if (count > 0) gtk_entry_buffer_emit_deleted_text(buffer, position, count);
    return count;
}

void notifyChanged(GtkEntryBuffer* buffer)
{
    g_object_notify(G_OBJECT(buffer), "text");
    g_object_notify(G_OBJECT(buffer), "length");
}

void insertedText(GtkEntryBuffer* buffer, guint, const char*, guint) { notifyChanged(buffer); }

void deletedText(GtkEntryBuffer* buffer, guint position, guint count)
{
    auto* whole = self(buffer);
    const auto start = byteOffset(*whole->text, position);
    whole->text->erase(start, byteOffset(*whole->text, position + count) - start);
    whole->length -= count;
    notifyChanged(buffer);
}

void finalize(GObject* object)
{
    delete reinterpret_cast<WholeTextBuffer*>(object)->text;
    G_OBJECT_CLASS(whole_text_buffer_parent_class)->finalize(object);
}

void whole_text_buffer_class_init(WholeTextBufferClass* type)
{
    G_OBJECT_CLASS(type)->finalize = finalize;
    auto* buffer = GTK_ENTRY_BUFFER_CLASS(type);
    buffer->get_text = getText;
    buffer->get_length = getLength;
    buffer->insert_text = insertText;
    buffer->delete_text = deleteText;
    buffer->inserted_text = insertedText;
    buffer->deleted_text = deletedText;
}

void whole_text_buffer_init(WholeTextBuffer* buffer)
{
    buffer->text = new std::string;
    buffer->length = 0;
}

}  // namespace

WholeTextEntry::WholeTextEntry()
{
    auto* buffer = GTK_ENTRY_BUFFER(g_object_new(whole_text_buffer_get_type(), nullptr));
    gtk_entry_set_buffer(gobj(), buffer);
    g_object_unref(buffer);
}

}  // namespace meridavolt
