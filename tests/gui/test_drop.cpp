#include <QSignalSpy>
#include <filesystem>

#include "GuiFixture.h"
#include "TestHelpers.h"

namespace {

const std::vector<unsigned char> kS1F1 = BytesFromHex("00 00 81 01 00 00 00 00 00 01");

}  // namespace

// A log dropped on the classic dialog goes to a session window and leaves
// its folder as it was; a message file is shown as the dialog always did.
TEST_F(CGuiTest, DropOpensLogsAsSessionsAndMessageFilesInTheList) {
    struct Case {
        const char* name;
        const char* file;
        int nSessions;
        Strings list;
    };
    const Case kCases[] = {
        {"log", "run.log", 1, {}},
        {"message file", "S6F11.BIG", 0, {"S1F1.BIG", "S6F11.BIG"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::string strFolder = Dir(c.name);
        WriteFile(strFolder + "/" + c.file, kS1F1);
        WriteFile(strFolder + "/S1F1.BIG", kS1F1);
        auto pDlg = StartDialog();
        QSignalSpy spy(pDlg.get(), &CBrevixDlg::sessionRequested);
        pDlg->OpenDropped(strFolder + "/" + c.file);
        EXPECT_EQ(spy.count(), c.nSessions);
        EXPECT_EQ(FileListTexts(*pDlg), c.list);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(strFolder),
                                std::filesystem::directory_iterator()),
                  2);
    }
}
