#include "app/MacAppHost.h"

namespace meridavolt {

MacAppHost::MacAppHost(std::unique_ptr<MacDistribution> distribution, ModelFactory makeModel)
    : distribution_(std::move(distribution)), makeModel_(std::move(makeModel))
{
}

MacAppHost::~MacAppHost() = default;

void MacAppHost::start()
{
    if (model_) return;
    model_ = makeModel_();
    modelChanged.emit();
}

}  // namespace meridavolt
