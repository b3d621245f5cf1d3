#pragma once

#include "model/WorkSet.h"
#include "state/AppModel.h"

#include <string>

namespace meridavolt {

// What the work-set manager sheet shows and does: the saved sets, opening
// one, and the set made of the current order and pages.
class WorkSetManagerModel {
public:
    static constexpr const char* heading = "何をしよう。";
    static constexpr const char* closeTitle = "閉じる";
    static constexpr const char* saveCurrentTitle = "今の並びとページを保存";
    static constexpr const char* caption = "セットを開くと、保存した順番とページに切り替わります。";
    static constexpr const char* deleteQuestion = "作業セットを削除しますか？";
    static constexpr const char* deleteTitle = "削除";
    static constexpr const char* cancelTitle = "キャンセル";

    explicit WorkSetManagerModel(AppModel& model) : model_(model) {}

    const std::vector<WorkSet>& sets() const { return model_.workSets(); }
    bool canSaveCurrent() const { return !model_.library().services.empty(); }
    WorkSet currentSet() const { return model_.currentWorkSet(); }
    void open(const WorkSet& set) { model_.applyWorkSet(set); }
    void remove(const WorkSet& set) { model_.removeWorkSet(set); }
    void close() { model_.setShowingWorkSets(false); }

    // The set's service names in order, joined by arrows.
    static std::string summary(const WorkSet& set);
    static std::string editLabel(const std::string& name) { return name + "を編集"; }
    static std::string deleteLabel(const std::string& name) { return name + "を削除"; }

private:
    AppModel& model_;
};

}  // namespace meridavolt
