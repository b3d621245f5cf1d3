#pragma once

#include <map>
#include <optional>
#include <string>

namespace meridavolt {

// The variables this process changed in its own environment for itself
// (how it draws), each with the value the user started it with. Programs it
// opens inherit its environment; they get these values back instead, so a
// switch meant for our own drawing never changes theirs.
class UserEnvironment {
public:
    // name → the user's value; none where the user had it unset.
    using Values = std::map<std::string, std::optional<std::string>>;

    // Sets `name` in this process's environment. The first change of a name
    // remembers the value it had before.
    void replace(const std::string& name, const std::string& value);

    // The user's values of every variable replaced so far.
    const Values& replaced() const { return original_; }

private:
    Values original_;
};

// The record of this process: the environment is the process's, so is the
// record of what we changed in it. Changed only before the toolkit starts
// threads.
UserEnvironment& processUserEnvironment();

}  // namespace meridavolt
