// Stands in for the program in the update tests: records the arguments it was started with in
// "host-started.txt" beside itself, one per line, and exits.
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    const std::filesystem::path self = std::filesystem::absolute(argv[0]);
    std::ofstream record(self.parent_path() / "host-started.txt", std::ios::trunc);
    for (int i = 1; i < argc; ++i) record << argv[i] << '\n';
    return 0;
}
