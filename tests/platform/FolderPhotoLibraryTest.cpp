#include "platform/linux/FolderPhotoLibrary.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "platform/linux/LinuxFileSystem.h"
#include "tests/platform/ChildProcess.h"
#include "tests/support/InMemoryFileSystem.h"
#include "tests/support/PhotoFixtures.h"
#include "tests/support/TemporaryDirectory.h"

namespace tallowmere {

namespace {

namespace fs = std::filesystem;
using testing::PhotoFolderFixture;
using testing::TemporaryDirectory;

std::vector<PhotoAssetMetadata> enumerateAll(const PhotoAssetFetchResult& fetch) {
    std::vector<PhotoAssetMetadata> assets;
    fetch.enumerate([&](const PhotoAssetMetadata& asset) { assets.push_back(asset); });
    return assets;
}

// A file system whose home is the test's folder, so the pictures folder is under it.
LinuxFileSystem fileSystemWithHome(const fs::path& home) {
    LinuxFileSystem::Options options;
    options.environment = [home](const char* name) -> std::optional<std::string> {
        if (std::string(name) == "HOME")
            return home.string();
        return std::nullopt;
    };
    return LinuxFileSystem(options);
}

TEST(FolderPhotoLibraryTest, ReadsEveryAssetOfAPictureFolderAndChangesNothing) {
    TemporaryDirectory temp;
    const PhotoFolderFixture fixture = testing::writePhotoFolderFixture(temp / "Pictures");
    const auto before = testing::snapshotFiles(fixture.root);

    const LinuxFileSystem fileSystem = fileSystemWithHome(temp.path());
    FolderPhotoLibrary library(fileSystem);
    // No library chosen: the pictures folder is the library.
    EXPECT_EQ(library.authorizationStatus(std::nullopt), PhotosAuthorizationState::authorized);
    const auto fetch = library.fetchAssets(std::nullopt);
    EXPECT_EQ(fetch->count(), static_cast<std::int64_t>(fixture.assets.size()));
    EXPECT_THAT(enumerateAll(*fetch), ::testing::ElementsAreArray(fixture.assets));

    // The same folder chosen by path gives the same assets.
    const auto chosen = library.fetchAssets(fixture.root.string());
    EXPECT_EQ(chosen->count(), fetch->count());
    EXPECT_THAT(enumerateAll(*chosen), ::testing::ElementsAreArray(fixture.assets));

    // Byte for byte, and not even read in a way that shows: sizes, modification and access
    // times are those of before.
    const auto after = testing::snapshotFiles(fixture.root);
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [path, state] : before) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(after.count(path));
        EXPECT_TRUE(after.at(path) == state);
    }
}

TEST(FolderPhotoLibraryTest, PicturesFolderComesFromTheUserDirectoriesFile) {
    TemporaryDirectory temp;
    fs::create_directories(temp / ".config");
    testing::writeBytes(temp / ".config" / "user-dirs.dirs",
                        "# written by xdg-user-dirs-update\n"
                        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                        "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    testing::writeBytes(temp / "Bilder" / "a.jpg", testing::minimalJpeg());
    testing::writeBytes(temp / "Pictures" / "b.jpg", testing::minimalJpeg());
    testing::writeBytes(temp / "Pictures" / "c.jpg", testing::minimalJpeg());

    const LinuxFileSystem fileSystem = fileSystemWithHome(temp.path());
    FolderPhotoLibrary library(fileSystem);
    EXPECT_EQ(library.libraryFolder(std::nullopt), (temp / "Bilder").string());
    EXPECT_EQ(library.fetchAssets(std::nullopt)->count(), 1);
    // An empty choice is no choice.
    EXPECT_EQ(library.libraryFolder(std::string()), (temp / "Bilder").string());
    EXPECT_EQ(library.fetchAssets((temp / "Pictures").string())->count(), 2);
}

TEST(FolderPhotoLibraryTest, AMissingFolderIsAnAuthorizedEmptyLibrary) {
    TemporaryDirectory temp;
    const LinuxFileSystem fileSystem = fileSystemWithHome(temp.path());
    FolderPhotoLibrary library(fileSystem);
    for (const std::optional<std::string>& path :
         {std::optional<std::string>(), std::optional<std::string>((temp / "gone").string())}) {
        SCOPED_TRACE(path.value_or("pictures"));
        EXPECT_EQ(library.authorizationStatus(path), PhotosAuthorizationState::authorized);
        EXPECT_EQ(library.requestAuthorization(path), PhotosAuthorizationState::authorized);
        const auto fetch = library.fetchAssets(path);
        EXPECT_EQ(fetch->count(), 0);
        EXPECT_TRUE(enumerateAll(*fetch).empty());
    }
    // A file where the library should be holds no assets.
    testing::writeBytes(temp / "file.photoslibrary", testing::minimalJpeg());
    EXPECT_EQ(library.fetchAssets((temp / "file.photoslibrary").string())->count(), 0);
}

TEST(FolderPhotoLibraryTest, AnUnreadableFolderIsDeniedAndUnreadablePartsAreLeftOut) {
    TemporaryDirectory temp;
    const fs::path root = temp / "Pictures";
    testing::writeBytes(root / "open" / "a.jpg", testing::minimalJpeg());
    testing::writeBytes(root / "locked" / "b.jpg", testing::minimalJpeg());
    testing::writeBytes(root / "unreadable.jpg", testing::minimalJpeg());
    testing::setFileTimes(root / "unreadable.jpg", 1'234'567'890);
    fs::permissions(root / "locked", fs::perms::none);
    fs::permissions(root / "unreadable.jpg", fs::perms::none);
    fs::create_directories(temp / "closed");
    fs::permissions(temp / "closed", fs::perms::none);

    const auto output = testing::runInChild([&]() -> std::string {
        if (!testing::dropPermissionOverride())
            return "cannot drop";
        const LinuxFileSystem fileSystem = fileSystemWithHome(temp.path());
        FolderPhotoLibrary library(fileSystem);
        std::ostringstream out;
        out << rawValue(library.authorizationStatus((temp / "closed").string())) << " "
            << rawValue(library.requestAuthorization((temp / "closed").string())) << " "
            << rawValue(library.authorizationStatus(std::nullopt)) << " ";
        const auto fetch = library.fetchAssets(std::nullopt);
        out << fetch->count();
        fetch->enumerate([&](const PhotoAssetMetadata& asset) {
            out << " "
                << static_cast<long long>(
                       asset.creationDate ? asset.creationDate->secondsSince1970() : -1);
        });
        return out.str();
    });
    ASSERT_TRUE(output.has_value());
    if (*output == "cannot drop")
        GTEST_SKIP() << "this process cannot be made to obey file permissions";
    // The locked folder's photo cannot be seen; the unreadable photo is still an asset, dated
    // by its modification time.
    std::istringstream fields(*output);
    std::string closed, closedAsked, pictures;
    std::int64_t count = 0;
    long long firstDate = 0, secondDate = 0;
    fields >> closed >> closedAsked >> pictures >> count >> firstDate >> secondDate;
    EXPECT_EQ(closed, "denied");
    EXPECT_EQ(closedAsked, "denied");
    EXPECT_EQ(pictures, "authorized");
    EXPECT_EQ(count, 2);
    EXPECT_GT(firstDate, 1'600'000'000);  // a.jpg, just written
    EXPECT_EQ(secondDate, 1'234'567'890);
}

// ---------------------------------------------------------------- which files are assets

std::string describe(const linux_fs::AssetFiles& asset, const std::string& root) {
    const auto relative = [&](const std::string& path) {
        return path.substr(root.size() + 1);
    };
    std::string text = relative(asset.primary.path);
    if (asset.movie)
        text += " + " + relative(asset.movie->path);
    if (asset.isHidden)
        text += " (hidden)";
    return text;
}

TEST(FolderPhotoLibraryWalkTest, GroupsLivePhotosAndMarksHiddenAlbums) {
    struct Case {
        const char* label;
        std::vector<std::string> files;
        std::vector<std::string> assets;
    };
    const std::vector<Case> cases = {
        {"a still with its movie is one live photo",
         {"IMG_1.HEIC", "IMG_1.MOV", "IMG_2.JPG"},
         {"IMG_1.HEIC + IMG_1.MOV", "IMG_2.JPG"}},
        {"the movie may sort before the still, in any letter case",
         {"a.Mov", "a.jpg"},
         {"a.jpg + a.Mov"}},
        {"a movie alone is a video", {"clip.mov"}, {"clip.mov"}},
        {"only a .mov joins a still", {"b.jpg", "b.mp4"}, {"b.jpg", "b.mp4"}},
        {"two movies never make a live photo", {"c.mov", "c.mp4"}, {"c.mov", "c.mp4"}},
        {"the first still of a stem takes the movie",
         {"d.heic", "d.jpg", "d.mov"},
         {"d.heic + d.mov", "d.jpg"}},
        {"a longer stem between the still and its movie",
         {"e.MOV", "e.a.jpg", "e.jpg"},
         {"e.a.jpg", "e.jpg + e.MOV"}},
        {"a folder between the still and its movie",
         {"f.HEIC", "f.d/g.jpg", "f.d/g.mov", "f.mov"},
         {"f.d/g.jpg + f.d/g.mov", "f.HEIC + f.mov"}},
        {"sidecars and other files are no assets and part nothing",
         {"g.jpg", "g.jpg.xmp", "g.mov", "notes.txt", "noext", ".jpg"},
         {"g.jpg + g.mov"}},
        {"the same stem in two folders is two assets",
         {"A/x.jpg", "B/x.mov"},
         {"A/x.jpg", "B/x.mov"}},
        {"a movie in a subfolder does not join a still above it",
         {"h.jpg", "h/h.mov"},
         {"h/h.mov", "h.jpg"}},
        {"hidden files are no assets; media in hidden folders is hidden",
         {".h.jpg", ".album/a.jpg", ".album/sub/b.jpg", "c/.d/e.png", "c/f.png", "z.gif"},
         {".album/a.jpg (hidden)", ".album/sub/b.jpg (hidden)", "c/.d/e.png (hidden)", "c/f.png",
          "z.gif"}},
        {"a hidden live photo", {".x/p.jpg", ".x/p.mov"}, {".x/p.jpg + .x/p.mov (hidden)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        testing::InMemoryFileSystem fileSystem;
        for (const auto& file : c.files) fileSystem.addFile("/lib/" + file, "x");
        std::vector<std::string> assets;
        linux_fs::walkAssetFiles(fileSystem, "/lib", [&](const linux_fs::AssetFiles& asset) {
            assets.push_back(describe(asset, "/lib"));
        });
        EXPECT_THAT(assets, ::testing::ElementsAreArray(c.assets));
    }
}

TEST(FolderPhotoLibraryWalkTest, LinksAndUnreadableEntriesAreNoAssets) {
    testing::InMemoryFileSystem fileSystem;
    fileSystem.addFile("/lib/a.jpg", "x");
    fileSystem.addLink("/lib/b.jpg", "/lib/a.jpg");
    fileSystem.addLink("/lib/album", "/elsewhere");
    fileSystem.addFile("/elsewhere/c.jpg", "x");
    fileSystem.addFile("/lib/d.jpg", "x");
    fileSystem.failOperation(testing::InMemoryFileSystem::Operation::resourceValues, "/lib/d.jpg",
                             std::make_error_code(std::errc::io_error));
    fileSystem.addFile("/lib/locked/e.jpg", "x");
    fileSystem.failOperation(testing::InMemoryFileSystem::Operation::enumerate, "/lib/locked",
                             std::make_error_code(std::errc::permission_denied));
    std::vector<std::string> assets;
    linux_fs::walkAssetFiles(fileSystem, "/lib", [&](const linux_fs::AssetFiles& asset) {
        assets.push_back(describe(asset, "/lib"));
    });
    EXPECT_THAT(assets, ::testing::ElementsAre("a.jpg"));
}

TEST(FolderPhotoLibraryWalkTest, MediaTypesComeFromTheExtension) {
    struct Case {
        const char* name;
        std::optional<PhotoMediaType> type;
    };
    const std::vector<Case> cases = {
        {"a.jpg", PhotoMediaType::image},
        {"a.JPEG", PhotoMediaType::image},
        {"a.HEIC", PhotoMediaType::image},
        {"a.png", PhotoMediaType::image},
        {"a.dng", PhotoMediaType::image},
        {"a.CR3", PhotoMediaType::image},
        {"a.mov", PhotoMediaType::video},
        {"a.MP4", PhotoMediaType::video},
        {"a.m4v", PhotoMediaType::video},
        {"a.m4a", PhotoMediaType::audio},
        {"a.mp3", PhotoMediaType::audio},
        {"a.txt", std::nullopt},
        {"a.xmp", std::nullopt},
        {"a.aae", std::nullopt},
        {"jpg", std::nullopt},
        {".jpg", std::nullopt},
        {"a.jpg.txt", std::nullopt},
        {"a.", std::nullopt},
        {"a.jpgx", std::nullopt},
        {"a.verylongextension", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(linux_fs::mediaTypeOfName(c.name), c.type);
    }
    for (const auto& [name, screenshot] : std::vector<std::pair<std::string, bool>>{
             {"Screenshot from 2024-01-01 10-00-00.png", true},
             {"Screenshot_20240101_100000.png", true},
             {"Screen Shot 2020-01-01 at 10.00.00.png", true},
             {"screenshot.png", false},
             {"My Screenshot.png", false},
             {"Screencast from 2024-01-01.webm", false}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(linux_fs::isScreenshotName(name), screenshot);
    }
}

}  // namespace
}  // namespace tallowmere
