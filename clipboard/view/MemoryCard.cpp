#include "clipboard/view/MemoryCard.h"

#include "clipboard/view/MemoryDragAndDrop.h"
#include "clipboard/view/MemoryStyle.h"
#include "clipboard/view/WholeTextLines.h"
#include "platform/SymbolIcons.h"

#include <gdk/gdkkeysyms.h>

#include <map>

namespace meridavolt {

namespace {

const std::map<MemoryCardAction, const char*>& actionNames()
{
    static const std::map<MemoryCardAction, const char*> names{{MemoryCardAction::copy, "copy"},
                                                               {MemoryCardAction::togglePin, "toggle-pin"},
                                                               {MemoryCardAction::recognizeText, "recognize-text"},
                                                               {MemoryCardAction::moveToFront, "move-to-front"},
                                                               {MemoryCardAction::moveToEnd, "move-to-end"}};
    return names;
}

}  // namespace

MemoryCard::MemoryCard(ClipboardStore& store, std::size_t index, double cardHeight, bool compact)
    : store_(store),
      index_(index),
      compact_(compact),
      metrics_(memoryCardMetrics(cardHeight, compact)),
      frame_(face_, cardHeight, MemoryCardMetrics::maximumWidth)
{
    ensureMemoryStyle();
    add_css_class("memory-card");
    add_css_class("flat");
    set_valign(Gtk::Align::CENTER);

    header_.add_css_class("card-header");
    kind_.set_pixel_size(compact ? 12 : 14);
    pin_.set_from_icon_name(iconNameForSymbol("pin.fill"));
    pin_.set_pixel_size(compact ? 10 : 12);
    headerSpace_.set_hexpand(true);
    number_.add_css_class("card-number");
    number_.set_text(memoryCardNumber(index));
    header_.append(kind_);
    header_.append(headerSpace_);
    header_.append(pin_);
    header_.append(number_);

    text_.add_css_class("card-text");
    text_.set_use_markup(false);
    text_.set_wrap_mode(Pango::WrapMode::WORD_CHAR);
    text_.set_ellipsize(Pango::EllipsizeMode::END);
    text_.set_xalign(0);
    text_.set_yalign(0);
    text_.set_halign(Gtk::Align::FILL);
    text_.set_valign(Gtk::Align::START);
    text_.set_hexpand(true);
    // Wraps at the card's width rather than asking for the text's.
    text_.set_width_chars(1);
    text_.set_max_width_chars(1);
    thumbnail_.set_hexpand(true);

    face_.append(header_);
    face_.append(text_);
    face_.append(thumbnail_);
    face_.set_valign(Gtk::Align::START);
    set_child(frame_);
    applyMetrics();

    signal_clicked().connect([this] {
        if (entry_) store_.copy(*entry_);
    });

    contextClick_ = Gtk::GestureClick::create();
    contextClick_->set_button(GDK_BUTTON_SECONDARY);
    contextClick_->signal_pressed().connect([this](int, double x, double y) {
        contextClick_->set_state(Gtk::EventSequenceState::CLAIMED);
        popupMenu(x, y);
    });
    add_controller(contextClick_);

    // The keyboard's way to the menu: the Menu key or Shift+F10.
    menuKeys_ = Gtk::EventControllerKey::create();
    menuKeys_->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType state) {
            const bool shift = (state & Gdk::ModifierType::SHIFT_MASK) == Gdk::ModifierType::SHIFT_MASK;
            if (key != GDK_KEY_Menu && !(key == GDK_KEY_F10 && shift)) return false;
            popupMenu(get_width() / 2.0, get_height() / 2.0);
            return true;
        },
        false);
    add_controller(menuKeys_);

    // Dragged out or onto another card, the entry moves in front of that
    // card's; a drop on an empty slot goes to the front.
    attachEntryDragSource(*this, [this] { return entry_; });
    attachMemoryDropTarget(
        *this, store_, [this] { return entry_ ? std::optional<std::string>(entry_->id) : std::nullopt; },
        [this](bool hovering) { setTargeted(hovering); });

    actions_ = Gio::SimpleActionGroup::create();
    for (const auto& [action, name] : actionNames())
        actions_->add_action(name, [this, action = action] { perform(action); });
    insert_action_group(actionGroupName, actions_);

    show(std::nullopt);
}

MemoryCard::~MemoryCard()
{
    if (menu_) menu_->unparent();
}

void MemoryCard::applyMetrics()
{
    face_.set_spacing(int(metrics_.spacing));
    for (auto margin : {&Gtk::Widget::set_margin_start, &Gtk::Widget::set_margin_end, &Gtk::Widget::set_margin_top,
                        &Gtk::Widget::set_margin_bottom})
        (face_.*margin)(int(metrics_.padding));
    // One line is a single-line label: line breaks become spaces rather
    // than the first line alone, and a wrapping label would measure taller
    // than its one line.
    const bool oneLine = metrics_.maximumLines == 1;
    text_.set_single_line_mode(oneLine);
    text_.set_wrap(!oneLine);
    text_.set_lines(metrics_.maximumLines);
    showPreview();
    text_.set_size_request(-1, int(metrics_.minimumTextHeight));
    thumbnail_.set_size_request(-1, int(metrics_.thumbnailHeight));
    frame_.setHeight(metrics_.height);
}

void MemoryCard::setCardHeight(double cardHeight)
{
    if (cardHeight == metrics_.height) return;
    metrics_ = memoryCardMetrics(cardHeight, compact_);
    applyMetrics();
}

void MemoryCard::show(const std::optional<ClipboardEntry>& entry)
{
    entry_ = entry;
    kind_.set_from_icon_name(iconNameForSymbol(memoryCardSymbol(entry)));
    pin_.set_visible(entry && store_.isPinned(*entry));
    const bool hasThumbnail = entry && entry->thumbnailData;
    thumbnail_.setData(hasThumbnail ? entry->thumbnailData : std::nullopt, entry ? entry->id : "");
    thumbnail_.set_visible(hasThumbnail);
    text_.set_visible(!hasThumbnail);
    showPreview();
    if (entry) text_.remove_css_class("empty-slot");
    else text_.add_css_class("empty-slot");
    set_tooltip_text(memoryCardTooltip(entry));
    // The menu is the card's child: the card's tooltip would cover it.
    if (menu_ && menu_->get_visible()) set_has_tooltip(false);
    setAccessibleLabel(*this, memoryCardLabel(index_, entry));
    if (!entry && menu_) menu_->popdown();
}

void MemoryCard::showPreview()
{
    if (!entry_ || !entry_->thumbnailData) setWholeTextLines(text_, memoryCardPreview(entry_, metrics_.maximumLines));
}

void MemoryCard::setTargeted(bool targeted)
{
    if (targeted) add_css_class("targeted");
    else remove_css_class("targeted");
}

void MemoryCard::popupMenu(double x, double y)
{
    if (!entry_) return;
    menuEntryID_ = entry_->id;
    menuModel_ = Gio::Menu::create();
    for (const auto& item : memoryCardMenu(*entry_, store_.isPinned(*entry_), store_.recognizing())) {
        const char* name = actionNames().at(item.action);
        menuModel_->append(item.label, std::string(actionGroupName) + "." + name);
        std::dynamic_pointer_cast<Gio::SimpleAction>(actions_->lookup_action(name))->set_enabled(item.enabled);
    }
    if (!menu_) {
        menu_ = std::make_unique<Gtk::PopoverMenu>();
        menu_->set_parent(*this);
        menu_->set_has_arrow(false);
        menu_->signal_closed().connect([this] { set_has_tooltip(true); });
    }
    menu_->set_menu_model(menuModel_);
    Gdk::Rectangle point(int(x), int(y), 1, 1);
    menu_->set_pointing_to(point);
    menu_->popup();
    set_has_tooltip(false);
}

void MemoryCard::perform(MemoryCardAction action)
{
    // A copy: the store may publish, and the shelf show another entry here, during the call.
    const std::optional<ClipboardEntry> found = memoryEntry(store_.pinned(), store_.history().entries, menuEntryID_);
    if (!found) return;
    const ClipboardEntry& entry = *found;
    switch (action) {
    case MemoryCardAction::copy:
        store_.copy(entry);
        break;
    case MemoryCardAction::togglePin:
        store_.togglePin(entry);
        break;
    case MemoryCardAction::recognizeText:
        store_.recognizeText(entry);
        break;
    case MemoryCardAction::moveToFront:
        store_.updateHistory([&](ClipboardHistory& history) { moveToFront(history, entry.id); });
        break;
    case MemoryCardAction::moveToEnd:
        store_.updateHistory([&](ClipboardHistory& history) { moveToEnd(history, entry.id); });
        break;
    }
}

}  // namespace meridavolt
