#include "desktop/LayoutSettings.h"

#include <algorithm>
#include <cmath>

namespace meridavolt {

namespace layout {

bool isMemoryPosition(const std::string& value)
{
    return value == "toolbar" || value == "top" || value == "bottom";
}

bool isRailPosition(const std::string& value)
{
    return value == "left" || value == "right" || value == "bottom";
}

double clampedMemoryHeight(double height)
{
    if (!std::isfinite(height)) return defaultMemoryHeight;
    return std::clamp(height, minimumMemoryHeight, maximumMemoryHeight);
}

double resizedMemoryHeight(double heightAtStart, double verticalTranslation, const std::string& memoryPosition)
{
    const double direction = memoryPosition == "bottom" ? -1 : 1;
    return clampedMemoryHeight(heightAtStart + verticalTranslation * direction);
}

}  // namespace layout

LayoutSettings::LayoutSettings(Settings& settings) : settings_(settings)
{
    settingsConnection_ = settings_.changed.connect([this](const std::string& key) {
        if (key == layout::memoryPositionKey || key == layout::memoryVisibleKey || key == layout::memoryHeightKey ||
            key == layout::railPositionKey || key == layout::railVisibleKey) {
            changed.emit();
        }
    });
}

LayoutValues LayoutSettings::values() const
{
    LayoutValues defaults;
    LayoutValues values;
    values.memoryPosition = settings_.textValue(layout::memoryPositionKey).value_or(defaults.memoryPosition);
    values.memoryVisible = settings_.boolValue(layout::memoryVisibleKey).value_or(defaults.memoryVisible);
    values.memoryHeight =
        layout::clampedMemoryHeight(settings_.numberValue(layout::memoryHeightKey).value_or(defaults.memoryHeight));
    values.railPosition = settings_.textValue(layout::railPositionKey).value_or(defaults.railPosition);
    values.railVisible = settings_.boolValue(layout::railVisibleKey).value_or(defaults.railVisible);
    return values;
}

void LayoutSettings::setMemoryPosition(const std::string& value)
{
    if (layout::isMemoryPosition(value)) settings_.setText(layout::memoryPositionKey, value);
}

void LayoutSettings::setMemoryVisible(bool visible)
{
    settings_.setBool(layout::memoryVisibleKey, visible);
}

void LayoutSettings::setMemoryHeight(double height)
{
    settings_.setNumber(layout::memoryHeightKey, layout::clampedMemoryHeight(height));
}

void LayoutSettings::setRailPosition(const std::string& value)
{
    if (layout::isRailPosition(value)) settings_.setText(layout::railPositionKey, value);
}

void LayoutSettings::setRailVisible(bool visible)
{
    settings_.setBool(layout::railVisibleKey, visible);
}

void LayoutSettings::reset()
{
    const LayoutValues defaults;
    setMemoryPosition(defaults.memoryPosition);
    setMemoryVisible(defaults.memoryVisible);
    setMemoryHeight(defaults.memoryHeight);
    setRailPosition(defaults.railPosition);
    setRailVisible(defaults.railVisible);
}

}  // namespace meridavolt
