#include <ombrelis/testing/TempDir.h>

#include <cstdlib>
#include <stdexcept>
#include <sys/stat.h>

namespace ombrelis::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ombrelis-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave the folder read-only; give the rights back so it can be removed.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

} // namespace ombrelis::testing
