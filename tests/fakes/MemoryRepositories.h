#pragma once

#include "model/LibraryRepository.h"
#include "model/WorkSetRepository.h"
#include "platform/FileError.h"

#include <cerrno>
#include <optional>
#include <vector>

namespace meridavolt::fakes {

// Stores in memory that can be told to fail like a damaged or unwritable file.
template <typename Value>
struct MemoryStore {
    std::optional<Value> stored;
    bool failLoad = false;
    bool failSave = false;
    std::vector<Value> saves;  // every value written, in order

    std::optional<Value> load()
    {
        if (failLoad) throw FileError::corruptFile("store.json");
        return stored;
    }
    void save(const Value& value)
    {
        if (failSave) throw FileError::writeFailed("store.json", EACCES);
        saves.push_back(value);
        stored = value;
    }
};

class MemoryLibraryRepository final : public LibraryRepository {
public:
    std::optional<ServiceLibrary> load() override { return store.load(); }
    void save(const ServiceLibrary& library) override { store.save(library); }
    MemoryStore<ServiceLibrary> store;
};

class MemoryWorkSetRepository final : public WorkSetRepository {
public:
    std::optional<std::vector<WorkSet>> load() override { return store.load(); }
    void save(const std::vector<WorkSet>& sets) override { store.save(sets); }
    MemoryStore<std::vector<WorkSet>> store;
};

}  // namespace meridavolt::fakes
