#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ombrelis/testing/TempDir.h>
#include <random>
#include <stdexcept>

namespace ombrelis::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
#ifdef _WIN32
    // No mkdtemp: create_directory refuses a name already taken, so random names are tried.
    std::random_device seed;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const auto name = "ombrelis-test-" + std::to_string(seed());
        if (fs::create_directory(fs::temp_directory_path() / name)) {
            path_ = fs::temp_directory_path() / name;
        }
    }
    if (path_.empty()) {
        throw std::runtime_error("no free temporary folder name");
    }
#else
    std::string pattern = (fs::temp_directory_path() / "ombrelis-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed for " + pattern);
    }
    path_ = pattern;
#endif
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests leave read-only folders behind; give them back their write bit so that a
    // non-root user can empty them.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path_, ignored);
}

std::vector<std::uint8_t> fileBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeTextFile(const std::string& name, const std::string& text) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
        throw std::runtime_error("cannot write " + name);
    }
}

} // namespace ombrelis::testing
