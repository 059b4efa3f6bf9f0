#include "core/verification/FileChecksumCalculator.h"

#include <gtest/gtest.h>

#include <system_error>

#include "tests/support/InMemoryFileSystem.h"

namespace tallowmere {
namespace {

using testing::InMemoryFileSystem;

std::string patterned(std::size_t size) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<char>((i * 7 + 3) % 256);
    return data;
}

TEST(FileChecksumCalculatorTest, MatchesKnownDigestsWhateverTheChunkSize) {
    struct Case {
        const char* name;
        std::string contents;
        const char* digest;
    };
    const std::vector<Case> cases{
        {"empty file", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"exactly one chunk of 'a'", std::string(1'048'576, 'a'),
         "9bc1b2a288b26af7257a36277ae3816a7d4f16e89c1e7e77d0a5c48bad62b360"},
        {"two chunks and a part", patterned(2 * 1'048'576 + 12'345),
         "3e34a108e02f50c1765c81fda1fd047ef4a4c37d9966107b9eb79336c843d645"},
    };
    InMemoryFileSystem fileSystem;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fileSystem.addFile("/backup/file", c.contents);
        EXPECT_EQ(FileChecksumCalculator::sha256Hex(fileSystem, "/backup/file"), c.digest);
        // A small buffer splits the data at other places; the digest must not change.
        std::vector<std::uint8_t> small(1'000);
        EXPECT_EQ(FileChecksumCalculator::sha256Hex(fileSystem, "/backup/file", small), c.digest);
    }
}

TEST(FileChecksumCalculatorTest, ThrowsWhenTheFileCannotBeOpenedOrRead) {
    InMemoryFileSystem fileSystem;
    fileSystem.addFolder("/backup/folder");
    fileSystem.addFile("/backup/locked", "data");
    fileSystem.setReadable("/backup/locked", false);
    fileSystem.addFile("/backup/bad-sector", "data");
    fileSystem.failOperation(InMemoryFileSystem::Operation::read, "/backup/bad-sector",
                             std::make_error_code(std::errc::io_error));

    const std::vector<std::pair<std::string, std::errc>> cases{
        {"/backup/missing", std::errc::no_such_file_or_directory},
        {"/backup/folder", std::errc::is_a_directory},
        {"/backup/locked", std::errc::permission_denied},
        {"/backup/bad-sector", std::errc::io_error},
    };
    for (const auto& [path, error] : cases) {
        SCOPED_TRACE(path);
        try {
            FileChecksumCalculator::sha256Hex(fileSystem, path);
            ADD_FAILURE() << "no error thrown";
        } catch (const std::system_error& thrown) {
            EXPECT_EQ(thrown.code(), std::make_error_code(error));
        }
    }
}

}  // namespace
}  // namespace tallowmere
