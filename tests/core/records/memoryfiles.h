#pragma once
// The folder "games" in memory, for the recorder's tests.
#include <map>
#include <string>

#include "core/records/recorder.h"

namespace plimb::test {

struct MemoryFiles : RecordFiles {
    std::map<std::string, std::string> files;
    bool failWrites = false;
    std::vector<KeptFile> kept() override {
        std::vector<KeptFile> out;
        for (const auto& [name, text] : files)
            if (isRecordFileName(name)) out.push_back({name, text.size()});
        return out;
    }
    bool create(const std::string& name, std::string_view text) override {
        if (failWrites || files.count(name)) return false;
        files[name] = std::string(text);
        return true;
    }
    bool append(const std::string& name, std::string_view text) override {
        if (failWrites || !files.count(name)) return false;
        files[name] += text;
        return true;
    }
    void remove(const std::string& name) override { files.erase(name); }
};

} // namespace plimb::test
