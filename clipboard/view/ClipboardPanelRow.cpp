#include "clipboard/view/ClipboardPanelRow.h"

#include "clipboard/ClipboardPanelModel.h"
#include "clipboard/view/MemoryDragAndDrop.h"
#include "clipboard/view/WholeTextLines.h"
#include "platform/SymbolIcons.h"
#include "platform/gdk/WidgetStyle.h"

namespace meridavolt {

using namespace clipboardpanel;

namespace {

constexpr int thumbnailHeight = 130;

void iconButton(Gtk::Button& button, const char* symbol)
{
    button.set_icon_name(iconNameForSymbol(symbol));
    button.add_css_class("flat");
    button.add_css_class("memory-icon-button");
}

void setLabelIfChanged(Gtk::Label& label, const std::string& text)
{
    if (label.get_text().raw() != text) label.set_text(text);
}

}  // namespace

void nameControl(Gtk::Widget& widget, const std::string& name)
{
    widget.set_tooltip_text(name);
    setAccessibleLabel(widget, name);
}

void setButtonTitle(Gtk::Button& button, Gtk::Label& titleLabel, const std::string& title)
{
    if (titleLabel.get_text().raw() == title) return;
    titleLabel.set_text(title);
    // Assistive technologies would otherwise read the button's class name.
    setAccessibleLabel(button, title);
}

Gtk::Label* labelledButton(Gtk::Button& button, const char* symbol, const std::string& title)
{
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    auto* icon = Gtk::make_managed<Gtk::Image>();
    icon->set_from_icon_name(iconNameForSymbol(symbol));
    auto* label = Gtk::make_managed<Gtk::Label>();
    row->append(*icon);
    row->append(*label);
    button.set_child(*row);
    setButtonTitle(button, *label, title);
    return label;
}

ClipboardPanelRow::ClipboardPanelRow(AppModel& model, const ClipboardEntry& entry)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 10), model_(model), store_(model.clipboard()), entry_(entry)
{
    add_css_class("memory-row");

    kind_.set_from_icon_name(iconNameForSymbol(kindSymbol(entry_)));
    kind_.add_css_class("memory-accent");
    time_.set_text(captureTime(entry_.capturedAt));
    time_.add_css_class("caption");
    time_.add_css_class("dim-label");
    auto* spacer = Gtk::make_managed<Gtk::Box>();
    spacer->set_hexpand(true);
    iconButton(pin_, "pin");
    pin_.signal_clicked().connect([this] { store_.togglePin(entry_); });
    iconButton(delete_, "xmark");
    nameControl(delete_, deleteLabel);
    // A copy: the deletion removes this row while its click is handled.
    delete_.signal_clicked().connect([this] { deleteEntry(store_, ClipboardEntry(entry_)); });
    header_.append(kind_);
    header_.append(time_);
    header_.append(*spacer);
    header_.append(pin_);
    header_.append(delete_);
    append(header_);

    text_.set_wrap(true);
    text_.set_wrap_mode(Pango::WrapMode::WORD_CHAR);
    text_.set_lines(int(rowLines));
    text_.set_max_width_chars(20);  // takes the row's width, never widens the panel
    text_.set_ellipsize(Pango::EllipsizeMode::END);
    text_.set_xalign(0);
    text_.set_hexpand(true);
    text_.set_use_markup(false);
    text_.add_css_class("memory-row-text");
    append(text_);

    actions_.add_css_class("caption");
    labelledButton(copy_, "doc.on.doc", "コピー");
    copy_.signal_clicked().connect([this] { store_.copy(entry_); });
    recognizeTitle_ = labelledButton(recognize_, "text.viewfinder", recognizeTitle(false));
    recognize_.signal_clicked().connect([this] { store_.recognizeText(entry_); });
    auto* actionSpacer = Gtk::make_managed<Gtk::Box>();
    actionSpacer->set_hexpand(true);
    labelledButton(paste_, "arrow.down.doc", "ページに貼る");
    paste_.signal_clicked().connect([this] { model_.pasteClipboardEntry(ClipboardEntry(entry_)); });
    for (auto* button : {&copy_, &recognize_, &paste_}) button->add_css_class("flat");
    actions_.append(copy_);
    actions_.append(recognize_);
    actions_.append(*actionSpacer);
    actions_.append(paste_);
    append(actions_);

    attachEntryDragSource(*this, [this]() -> std::optional<ClipboardEntry> { return entry_; });
    attachMemoryDropTarget(*this, store_, [this]() -> std::optional<std::string> { return entry_.id; },
                           [this](bool over) {
                               if (over) add_css_class("drop-target");
                               else remove_css_class("drop-target");
                           });

    showContent();
    refreshState();
}

void ClipboardPanelRow::update(const ClipboardEntry& entry)
{
    if (entry == entry_) return;
    entry_ = entry;
    kind_.set_from_icon_name(iconNameForSymbol(kindSymbol(entry_)));
    setLabelIfChanged(time_, captureTime(entry_.capturedAt));
    showContent();
    refreshState();
}

void ClipboardPanelRow::showContent()
{
    if (entry_.thumbnailData) {
        if (!thumbnail_) {
            thumbnail_ = std::make_unique<MemoryImage>();
            thumbnail_->set_size_request(-1, thumbnailHeight);
            thumbnail_->set_hexpand(true);
            nameControl(*thumbnail_, imageLabel);
            insert_child_after(*thumbnail_, header_);
        }
        thumbnail_->setData(entry_.thumbnailData, entry_.id);
        text_.set_visible(false);
    } else {
        if (thumbnail_) {
            remove(*thumbnail_);
            thumbnail_.reset();
        }
        setWholeTextLines(text_, rowText(entry_));
        text_.set_visible(true);
    }
}

void ClipboardPanelRow::refreshState()
{
    const bool pinned = store_.isPinned(entry_);
    pin_.set_icon_name(iconNameForSymbol(pinSymbol(pinned)));
    if (pinned) pin_.add_css_class("memory-accent");
    else pin_.remove_css_class("memory-accent");
    nameControl(pin_, pinLabel(pinned));

    recognize_.set_visible(entry_.isImage());
    if (entry_.isImage()) {
        setButtonTitle(recognize_, *recognizeTitle_, recognizeTitle(store_.recognizing()));
        recognize_.set_sensitive(!store_.recognizing());
    }
    paste_.set_sensitive(model_.canPasteClipboard());
}

}  // namespace meridavolt
