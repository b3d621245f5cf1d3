#include "model/Service.h"

namespace {

template <typename T>
void combine(std::size_t& seed, const T& value)
{
    seed ^= std::hash<T>{}(value) + 0x9E3779B97F4A7C15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace

std::size_t std::hash<meridavolt::QuickAction>::operator()(const meridavolt::QuickAction& action) const noexcept
{
    std::size_t seed = 0;
    combine(seed, action.title);
    combine(seed, action.url);
    return seed;
}

std::size_t std::hash<meridavolt::Service>::operator()(const meridavolt::Service& service) const noexcept
{
    std::size_t seed = 0;
    combine(seed, service.id);
    combine(seed, service.name);
    combine(seed, service.symbol);
    combine(seed, service.url);
    combine(seed, service.mode);
    combine(seed, service.appURL);
    combine(seed, service.actions.size());
    for (const auto& action : service.actions) combine(seed, action);
    combine(seed, service.modifiedAt.sinceReferenceDate);
    return seed;
}
