// The target forced uninstall reads from a shortcut file: only a whole local
// LinkInfo path under MAX_PATH counts; cut, damaged or hostile files give
// nothing (and are then kept as the shortcut itself or refused).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "named_case.h"
#include "shell_link_writer.h"
#include "sim_fixture.h"
#include "test_text.h"
#include "uninstall/forced_path.h"

namespace orvix::testing {
namespace {

using link_writer::Set32;

// LinkInfo of the base shortcut starts after the header and a 10-byte
// item-id list; its header has the Unicode offsets, then a VolumeID of 0x11
// bytes, then the local base path.
constexpr std::size_t kLinkInfoAt = kShellLinkHeaderSize + 2 + 10;
constexpr std::size_t kInsideLocalPath = kLinkInfoAt + 0x24 + 0x11 + 3;

const LinkSpec kBase{.localBasePath = "C:\\Foo\\",
                     .localBasePathUnicode = L"C:\\Foo\\",
                     .commonPathSuffix = "foo.exe",
                     .idListSize = 10,
                     .name = L"Foo"};

std::size_t LinkInfoSize(const Bytes& bytes) { return bytes[kLinkInfoAt] | bytes[kLinkInfoAt + 1] << 8; }

struct FileCase : NamedCase {
  std::function<void(Bytes&)> damage;
  std::string target;
  LinkSpec spec = kBase;
};

class ForcedShortcutTarget : public SimMachineTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(ForcedShortcutTarget, IsWholeOrNothing) {
  Bytes bytes = BuildShellLink(GetParam().spec);
  if (GetParam().damage) GetParam().damage(bytes);
  Machine().files.PutFile(L"C:\\Links\\foo.lnk", bytes);
  EXPECT_EQ(Narrow(ShortcutTargetFromFile(L"C:\\Links\\foo.lnk")), GetParam().target);
}

void Cut(Bytes& bytes, std::size_t size) { bytes.resize(std::min(size, bytes.size())); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ForcedShortcutTarget,
    ::testing::Values(
        FileCase{{"Whole"}, nullptr, "C:\\Foo\\foo.exe"},
        FileCase{{"HeaderSizeNot76"}, [](Bytes& b) { Set32(b, 0, 0x4D); }, ""},
        FileCase{{"HasLinkInfoFlagCleared"}, [](Bytes& b) { b[20] &= ~kLinkHasLinkInfo; }, ""},
        FileCase{{"LinkInfoFlagsZero"}, [](Bytes& b) { Set32(b, kLinkInfoAt + 8, 0); }, ""},
        FileCase{{"NetworkOnly"}, nullptr, "", {.commonPathSuffix = "x.exe", .netName = "\\\\server\\share"}},
        FileCase{{"IdListPastTheEnd"}, [](Bytes& b) { link_writer::Set32(b, kShellLinkHeaderSize, 0xFFFF); }, ""},
        FileCase{{"LinkInfoSizePastTheEnd"}, [](Bytes& b) { Set32(b, kLinkInfoAt, 0xFFFFFFFF); }, ""},
        FileCase{{"LocalPathOffsetPastTheBlock"}, [](Bytes& b) { Set32(b, kLinkInfoAt + 16, 0xFFFFFFF0); }, ""},
        FileCase{{"LocalPathOffsetZero"}, [](Bytes& b) {
                   Set32(b, kLinkInfoAt + 16, 0);
                   Set32(b, kLinkInfoAt + 28, 0);
                 }, ""},
        FileCase{{"UnicodePathOffsetPastTheBlock"}, [](Bytes& b) { Set32(b, kLinkInfoAt + 28, 0x7FFFFFFF); }, ""},
        FileCase{{"CutInsideTheHeader"}, [](Bytes& b) { Cut(b, 40); }, ""},
        FileCase{{"CutInsideLinkInfo"}, [](Bytes& b) { Cut(b, kLinkInfoAt + 20); }, ""},
        FileCase{{"CutInsideThePath"}, [](Bytes& b) { Cut(b, kInsideLocalPath); }, ""},
        FileCase{{"CutRightAfterLinkInfo"}, [](Bytes& b) { Cut(b, kLinkInfoAt + LinkInfoSize(b)); },
                 "C:\\Foo\\foo.exe"},
        FileCase{{"PathOfMaxPathChars"}, nullptr, "",
                 {.localBasePath = "C:\\" + std::string(250, 'a') + "\\", .commonPathSuffix = "foo.exe"}},
        FileCase{{"Empty"}, [](Bytes& b) { b.clear(); }, ""}),
    CaseName());

using ForcedShortcutFile = SimMachineTest;

TEST_F(ForcedShortcutFile, NoTargetFromAFolderOrAMissingFile) {
  Machine().files.PutFolder(L"C:\\Links\\dir.lnk");
  EXPECT_EQ(ShortcutTargetFromFile(L"C:\\Links\\dir.lnk"), L"");
  EXPECT_EQ(ShortcutTargetFromFile(L"C:\\Links\\gone.lnk"), L"");
}

}  // namespace
}  // namespace orvix::testing
