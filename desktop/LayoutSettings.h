#pragma once

#include "platform/Settings.h"

#include <string>

namespace meridavolt {

// Where the memory strip and the service bar sit, and how tall the strip's
// cards are. The values are stored under the "mac.*" keys so that a settings
// file keeps the same names on every platform.
struct LayoutValues {
    std::string memoryPosition = "toolbar";  // "toolbar", "top", "bottom"
    bool memoryVisible = true;
    double memoryHeight = 78;
    std::string railPosition = "right";  // "left", "right", "bottom"
    bool railVisible = true;

    friend bool operator==(const LayoutValues&, const LayoutValues&) = default;
};

namespace layout {

inline constexpr const char* memoryPositionKey = "mac.memoryPosition";
inline constexpr const char* memoryVisibleKey = "mac.memoryVisible";
inline constexpr const char* memoryHeightKey = "mac.memoryHeight";
inline constexpr const char* railPositionKey = "mac.railPosition";
inline constexpr const char* railVisibleKey = "mac.railVisible";

inline constexpr double minimumMemoryHeight = 54;
inline constexpr double maximumMemoryHeight = 180;
inline constexpr double defaultMemoryHeight = 78;
// One step of the strip height's accessibility adjustment.
inline constexpr double memoryHeightStep = 16;

bool isMemoryPosition(const std::string& value);
bool isRailPosition(const std::string& value);

// Keeps a height within 54…180; a value that is not a number at all (from a
// hand-edited file) falls back to the default rather than reaching the layout.
double clampedMemoryHeight(double height);

// The strip height while its handle is dragged: the strip grows as the handle
// moves towards the workspace, which is upwards when the strip sits at the bottom.
double resizedMemoryHeight(double heightAtStart, double verticalTranslation, const std::string& memoryPosition);

}  // namespace layout

// The five layout settings, read from and written to the user's settings at
// once. Writers keep the height within its range and store only known
// positions; an unknown stored position is read as it stands and places its
// panel nowhere until the user picks one.
class LayoutSettings {
public:
    explicit LayoutSettings(Settings& settings);

    LayoutValues values() const;

    void setMemoryPosition(const std::string& value);
    void setMemoryVisible(bool visible);
    void setMemoryHeight(double height);
    void setRailPosition(const std::string& value);
    void setRailVisible(bool visible);

    // Restores all five values, the hidden ones included.
    void reset();

    // Emitted after any of the five settings changed, by this object or another writer.
    Signal<> changed;

private:
    Settings& settings_;
    Connection settingsConnection_;
};

}  // namespace meridavolt
