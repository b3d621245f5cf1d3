#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// One dropped item as the store sees it: an entry dragged inside the
// application, an image, one address of a uri-list (a file or a link) or a
// text. The toolkit adapter builds them from a drop; tests use their own.
class DropItem {
public:
    using Loaded = std::function<void(std::optional<std::string>)>;

    virtual ~DropItem() = default;

    // The types it is offered as, in the offer's order: mime types,
    // "text/uri-list" for one address, or memoryDragType for an entry of
    // this process.
    virtual std::vector<std::string> types() const = 0;
    // The bytes of one offered type. `done` runs exactly once, on the main
    // thread, with nothing on any failure.
    virtual void loadData(const std::string& type, Loaded done) = 0;
    // The item as a text: its string, else its address; nothing when it has
    // neither. Same rules for `done`.
    virtual void loadText(Loaded done) = 0;
};

// An item whose representations were read before the drop ended (a source
// may let go of its data once the drop is finished): answers at once. Each
// representation is handed over, not copied, so it can be loaded once: the
// store asks for each type at most once, and an image may hold 50 MiB.
class LoadedDropItem final : public DropItem {
public:
    LoadedDropItem(std::vector<std::string> types, std::map<std::string, std::string> data,
                   std::optional<std::string> text)
        : types_(std::move(types)), data_(std::move(data)), text_(std::move(text))
    {
    }

    std::vector<std::string> types() const override { return types_; }
    void loadData(const std::string& type, Loaded done) override
    {
        auto found = data_.find(type);
        if (found == data_.end()) return done(std::nullopt);
        std::string bytes = std::move(found->second);
        data_.erase(found);
        done(std::move(bytes));
    }
    void loadText(Loaded done) override { done(text_); }

private:
    std::vector<std::string> types_;
    std::map<std::string, std::string> data_;
    std::optional<std::string> text_;
};

}  // namespace meridavolt
