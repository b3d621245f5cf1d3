#pragma once

#include "platform/Signal.h"

#include <optional>
#include <string>

namespace meridavolt {

// The user's settings by key: booleans, numbers and texts. A key that is
// absent, or holds a value of another type, reads as absent so that the
// caller's default applies.
class Settings {
public:
    virtual ~Settings() = default;

    virtual std::optional<bool> boolValue(const std::string& key) const = 0;
    virtual std::optional<double> numberValue(const std::string& key) const = 0;
    virtual std::optional<std::string> textValue(const std::string& key) const = 0;

    virtual void setBool(const std::string& key, bool value) = 0;
    virtual void setNumber(const std::string& key, double value) = 0;
    virtual void setText(const std::string& key, const std::string& value) = 0;
    virtual void remove(const std::string& key) = 0;

    // False when the stored settings could not be read: nothing is written for
    // the rest of the run, and callers treat one-shot work as already done.
    virtual bool isReadable() const = 0;

    // False when the last change could not be stored (no permission, disk
    // full): the value then lives in memory only, for the rest of the run.
    virtual bool lastWriteSucceeded() const = 0;

    // Emitted with the key after every change made through this object.
    Signal<const std::string&> changed;
};

}  // namespace meridavolt
