#include "editors/WorkSetManagerModel.h"

namespace meridavolt {

std::string WorkSetManagerModel::summary(const WorkSet& set)
{
    std::string text;
    for (const auto& service : set.services) {
        if (!text.empty()) text += " → ";
        text += service.name;
    }
    return text;
}

}  // namespace meridavolt
