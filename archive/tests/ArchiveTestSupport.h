// Test pieces of the archive: a fresh directory with its own DATA, a message sink that records and
// answers OK, and recordings whose samples name their position.
#pragma once

#include "phonomir/AcfArchive.h"
#include "phonomir/DataConnection.h"
#include "phonomir/MessageSink.h"

#include <string>
#include <vector>

struct RecordedMessages : phonomir::MessageSink {
    std::vector<std::string> texts;
    std::vector<int> questions;
    void showMessage(const std::string& text, phonomir::MessageIcon) override { texts.push_back(text); }
    bool askOkCancel(int id, const std::string&) override {
        questions.push_back(id);
        return true;
    }
};

// A directory under /tmp removed at the end; `dataDirectory` is its DATA.
struct TemporaryRoot {
    TemporaryRoot();
    ~TemporaryRoot();
    std::string path;
    std::string dataDirectory() const { return path + "/DATA"; }
};

phonomir::ArchiveWave numberedWave(int sampleRate, int channels, int frames, int seed = 0);
phonomir::FolderRecord acfFolder(const std::string& title);
phonomir::AcfRecord recordFor(std::int32_t folderId, const phonomir::ArchiveWave& wave, const std::string& title);
