#include "editors/WorkSetManagerModel.h"
#include "platform/Text.h"

namespace meridavolt {

std::string WorkSetManagerModel::summary(const WorkSet& set)
{
    std::string text;
    for (const auto& service : set.services) {
        if (!text.empty()) text += " → ";
        text += shownName(service.name);
    }
    return text;
}

}  // namespace meridavolt
