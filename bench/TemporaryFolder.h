// A folder made under /tmp for one benchmark run and removed with its contents when destroyed.
// The run stops when the folder cannot be made, rather than falling back on /tmp itself,
// which would then be emptied at exit.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string &prefix) {
        std::string pattern = "/tmp/" + prefix + "-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("cannot make a temporary folder");
            std::exit(1);
        }
        directory_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    std::string path(const std::string &name) const { return directory_ + "/" + name; }

private:
    std::string directory_;
};
