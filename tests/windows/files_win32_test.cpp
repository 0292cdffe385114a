// Files on Windows: regular files only, the whole-file replace through a
// temporary file, and the creation of a file's folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/os/os.h"
#include "tests/windows/win32_test_util.h"

namespace {

void writeFile(const std::string& path, const std::string& content) {
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  fwrite(content.data(), 1, content.size(), file);
  fclose(file);
}

TEST(OpenFile, OpensOnlyDiskFiles) {
  ScratchFolder scratch;
  // A device, a pipe and a folder: each would hang or fail a reader.
  EXPECT_EQ(openFile("NUL", "rb"), nullptr);
  EXPECT_EQ(openFile("nul", "wb"), nullptr);
  HANDLE pipe = CreateNamedPipeA("\\\\.\\pipe\\vekotra-test", PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE,
                                 1, 64, 64, 0, nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  EXPECT_EQ(openFile("\\\\.\\pipe\\vekotra-test", "rb"), nullptr);
  CloseHandle(pipe);
  EXPECT_EQ(openFile(scratch.path.c_str(), "rb"), nullptr);
  EXPECT_EQ(openFile((scratch.path + "\\missing.3DS").c_str(), "rb"), nullptr);

  // Names ignore case, as the data's "data" and "Data" need.
  std::string earth = scratch.path + "\\earth3.3DS";
  writeFile(earth, "0123456789");
  FILE* file = openFile((scratch.path + "/EARTH3.3ds").c_str(), "rb");
  ASSERT_NE(file, nullptr);
  char bytes[16] = {};
  EXPECT_EQ(fread(bytes, 1, sizeof bytes, file), 10u) << "binary: no newline translation";
  fclose(file);
  EXPECT_EQ(findFile(scratch.path + "/EARTH3.3ds"), scratch.path + "/EARTH3.3ds");

  // "w" empties, "a" appends, "w" creates.
  file = openFile(earth.c_str(), "ab");
  ASSERT_NE(file, nullptr);
  fputs("+\n", file);
  fclose(file);
  EXPECT_EQ(fileContent(earth), "0123456789+\n");
  file = openFile(earth.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  fclose(file);
  EXPECT_EQ(fileContent(earth), "");
  file = openFile((scratch.path + "\\new.pmap").c_str(), "wb");
  ASSERT_NE(file, nullptr);
  fclose(file);
  EXPECT_EQ(folderListing(scratch.path), "earth3.3DS new.pmap");
}

TEST(WholeFileReplace, ReplacesTheWholeFileAndLeavesNoTemporaryFile) {
  ScratchFolder scratch;
  std::string pmap = scratch.path + "\\earth3.3DS.pmap";
  writeFile(pmap, "an old block, longer than the new one");
  const char block[] = "new\0block";
  EXPECT_TRUE(replaceFile(pmap.c_str(), block, sizeof block - 1));
  EXPECT_EQ(fileContent(pmap), std::string(block, sizeof block - 1));
  EXPECT_EQ(folderListing(scratch.path), "earth3.3DS.pmap");

  // A new file, and an empty one.
  EXPECT_TRUE(replaceFile((scratch.path + "/mars.pmap").c_str(), "", 0));
  EXPECT_EQ(fileContent(scratch.path + "\\mars.pmap"), "");
  EXPECT_EQ(folderListing(scratch.path), "earth3.3DS.pmap mars.pmap");
}

TEST(WholeFileReplace, FailsWithoutLeavingATemporaryFile) {
  ScratchFolder scratch;
  // No such folder.
  EXPECT_FALSE(replaceFile((scratch.path + "\\none\\x.pmap").c_str(), "x", 1));
  // A folder in the file's place cannot be replaced: the temporary goes.
  ASSERT_TRUE(CreateDirectoryA((scratch.path + "\\x.pmap").c_str(), nullptr));
  EXPECT_FALSE(replaceFile((scratch.path + "\\x.pmap").c_str(), "x", 1));
  EXPECT_EQ(folderListing(scratch.path), "x.pmap");
  // Temporary names a killed process left behind are stepped over.
  std::string target = scratch.path + "\\y.pmap";
  std::string pid = std::to_string(GetCurrentProcessId());
  writeFile(target + ".tmp." + pid + ".0", "left");
  EXPECT_TRUE(replaceFile(target.c_str(), "y", 1));
  EXPECT_EQ(folderListing(scratch.path), "x.pmap y.pmap y.pmap.tmp." + pid + ".0");
}

TEST(MakeParentFolders, CreatesEveryMissingFolder) {
  ScratchFolder scratch;
  // The cache folder joined to a model's path: both separators, doubled.
  std::string file = scratch.path + "\\Vekotra/data//map//earth3.3DS.pmap";
  ASSERT_TRUE(makeParentFolders(file));
  DWORD attributes = GetFileAttributesA((scratch.path + "\\Vekotra\\data\\map").c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << "the file is not made";
  EXPECT_TRUE(makeParentFolders(file)) << "all there already";

  // UTF-8 names reach the file system as the characters they are.
  std::string utf8 = scratch.path + "\\Zo\xc3\xab\\f.pmap";
  ASSERT_TRUE(makeParentFolders(utf8));
  EXPECT_TRUE(replaceFile(utf8.c_str(), "z", 1));
  std::wstring wide(scratch.path.begin(), scratch.path.end());
  EXPECT_NE(GetFileAttributesW((wide + L"\\Zo\u00eb\\f.pmap").c_str()), INVALID_FILE_ATTRIBUTES);

  // A file where a folder should be: refused.
  writeFile(scratch.path + "\\plain", "x");
  EXPECT_FALSE(makeParentFolders(scratch.path + "\\plain\\sub\\f.pmap"));
  EXPECT_FALSE(makeParentFolders(scratch.path + "\\plain\\f.pmap"));
  EXPECT_TRUE(makeParentFolders("f.pmap")) << "a bare name lies in the working directory";
}

}  // namespace
