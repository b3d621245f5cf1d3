// AppModel: the bridge between the clipboard memory and the page of the
// focused pane, which pastes a saved text into the field that had the focus.
#include "state/AppModel.h"

namespace meridavolt {

namespace {

constexpr const char* imageCopiedText = "画像をコピーしました。画像対応の入力欄で貼り付けてください";
constexpr const char* copiedOnlyText = "コピーしました。入力欄で貼り付けてください";
constexpr const char* pastedText = "貼り付けました";
constexpr const char* pasteRefusedText =
    "コピーしました。この入力欄には直接貼れないため、通常の貼り付け操作を使ってください。";

}  // namespace

std::optional<std::string> AppModel::pasteTarget() const { return focusedPaneID_ ? focusedPaneID_ : selectedID_; }

void AppModel::openClipboard()
{
    startupSelection_.cancel();
    assignCanPasteClipboard(false);
    const std::optional<std::string> target = pasteTarget();
    pasteServiceID_ = target;
    if (const Service* service = target ? findService(*target) : nullptr) {
        session(*service)->capturePasteTarget(
            whileAlive([this, id = *target](bool editable) { finishPasteProbe(id, editable); }));
    }
    setShowingClipboard(true);
}

void AppModel::finishPasteProbe(const std::string& target, bool editable)
{
    // The answer counts only while the panel is open for the same service and pane.
    if (!showingClipboard_) return;
    if (pasteServiceID_ != target) return;
    if (pasteTarget() != target) return;
    assignCanPasteClipboard(editable);
}

void AppModel::pasteClipboardEntry(const ClipboardEntry& entry)
{
    clipboard_->copy(entry);
    if (entry.isImage()) {
        clipboard_->setStatus(imageCopiedText);
        return;
    }
    const std::optional<std::string> target = pasteTarget();
    auto live = target ? sessions_.find(*target) : sessions_.end();
    if (!canPasteClipboard_ || !pasteServiceID_ || target != pasteServiceID_ || live == sessions_.end()) {
        clipboard_->setStatus(copiedOnlyText);
        return;
    }

    // One probe serves one paste; closing the panel gives the focus back to the page.
    assignCanPasteClipboard(false);
    setShowingClipboard(false);
    const std::uint64_t task = nextPasteTask_++;
    pasteTimers_[task] = services_.scheduler.after(
        pasteDelay, [this, task, id = *target, session = live->second, text = entry.text] {
            pasteAfterDelay(task, id, session, text);
        });
}

void AppModel::pasteAfterDelay(std::uint64_t task, std::string target, std::shared_ptr<WebSession> session,
                               std::string text)
{
    pasteTimers_.erase(task);
    if (pasteTarget() != target) return;
    session->pasteSavedText(text, whileAlive([this](bool inserted) {
                                if (inserted) {
                                    clipboard_->setStatus(pastedText);
                                } else {
                                    setError(pasteRefusedText);
                                }
                            }));
}

}  // namespace meridavolt
