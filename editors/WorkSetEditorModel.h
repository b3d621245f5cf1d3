#pragma once

#include "model/Service.h"
#include "model/WorkSet.h"
#include "state/AppModel.h"

#include <map>
#include <string>
#include <vector>

namespace meridavolt {

// The edits of the work-set editor sheet: the set's name, its services in
// order and the page typed for each. Typed pages are kept by service id while
// the sheet is open, also for a service taken out of the set.
class WorkSetEditorModel {
public:
    static constexpr const char* title = "作業セット";
    static constexpr const char* namePlaceholder = "セット名";
    static constexpr const char* pagePlaceholder = "開くページのURL";
    static constexpr const char* addTitle = "サービスを追加";
    static constexpr const char* cancelTitle = "キャンセル";
    static constexpr const char* saveTitle = "保存";

    WorkSetEditorModel(AppModel& model, const WorkSet& original);

    const std::string& id() const { return id_; }
    std::string name;
    const std::vector<Service>& services() const { return services_; }

    // The page typed for a service; empty when none was.
    std::string address(const std::string& serviceID) const;
    void setAddress(const std::string& serviceID, std::string text) { addresses_[serviceID] = std::move(text); }
    // The messaging service keeps the page it has.
    static bool hasAddressField(const Service& service) { return service.id != "line"; }

    bool canMoveUp(const std::string& serviceID) const;
    bool canMoveDown(const std::string& serviceID) const;
    // Swaps the first service with this id with its neighbour (-1 up, +1 down).
    void move(const std::string& serviceID, int offset);
    // Takes every service with this id out of the set; its typed page stays.
    void remove(const std::string& serviceID);

    // The library's services as they are now, then the catalogue's, without
    // the set's ids and each id once.
    std::vector<Service> available() const;
    // Appends the service as offered, its page replacing any typed one.
    void add(const Service& service);

    bool valid() const;
    // The set as it would be saved: each typed page that parses replaces the copy's page.
    WorkSet edited() const;
    // Hands the set to the application state, which reports its own failures.
    void save() { model_.saveWorkSet(edited()); }

    static std::string moveUpLabel(const std::string& name) { return name + "を上へ"; }
    static std::string moveDownLabel(const std::string& name) { return name + "を下へ"; }
    static std::string removeLabel(const std::string& name) { return name + "をセットから外す"; }

private:
    const Service* first(const std::string& serviceID, std::size_t* position = nullptr) const;

    AppModel& model_;
    std::string id_;
    std::vector<Service> services_;
    std::map<std::string, std::string> addresses_;
};

}  // namespace meridavolt
