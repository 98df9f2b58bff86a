// The report model's defaults, Open, the row helpers and the template copy of WriteReport.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "model_fixture.h"
#include "platform/files.h"
#include "report/web_addresses.h"
#include "util/text.h"
#include "util/utf.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class ReportModelTest : public ModelTest {
  protected:
    std::wstring TemplatePath() const { return folder_.Slashed() + L"inventory.html.tpl"; }
    std::wstring OutputPath() const { return folder_.Slashed() + L"inventory.html"; }

    void Open(const std::string& templateBytes, bool portable = false) {
        ASSERT_TRUE(platform::WriteWholeFile(TemplatePath(), templateBytes));
        report().Open(TemplatePath(), OutputPath(), portable);
    }

    // The report file's bytes after WriteReport.
    std::string Write() {
        EXPECT_TRUE(report().WriteReport());
        std::string bytes;
        EXPECT_TRUE(platform::ReadWholeFile(OutputPath(), bytes));
        return bytes;
    }

    std::string Render(const std::string& templateBytes) {
        Open(templateBytes);
        return Write();
    }
};

TEST_F(ReportModelTest, ConstructorSetsEveryDefault) {
    const std::wstring none =
        L"<tr class=\"rowHighlightData\"><td width=\"1%\">&nbsp;&nbsp;</td>"
        L"<td colspan=\"2\">No ";
    struct Case {
        const std::wstring* field;
        std::wstring expected;
    };
    CInventoryReport& r = report();
    const Case cases[] = {
        {&r.m_processList, none + L"processes detected.</td></tr>\n"},
        {&r.m_installedProgramsList, none + L"installed programs detected.</td></tr>\n"},
        {&r.m_logicalDiskDriveList, none + L"logical disk drives detected.</td></tr>\n"},
        {&r.m_networkAdapterConfigurationList, none + L"network adapters detected.</td></tr>\n"},
        {&r.m_printerList, none + L"printers detected.</td></tr>\n"},
        {&r.m_startupProgramsList, none + L"startup programs detected.</td></tr>\n"},
        {&r.m_patchList, none + L"installed patches detected.</td></tr>\n"},
        {&r.m_servicesList, none + L"services detected.</td></tr>\n"},
        {&r.m_componentsList, none + L"components/features detected.</td></tr>\n"},
        {&r.m_processorList, L"No processors detected."},
        {&r.m_processCount, L"0"},
        {&r.m_installedProgramsCount, L"0"},
        {&r.m_networkAdapterConfigurationCount, L"0"},
        {&r.m_printerCount, L"0"},
        {&r.m_startupProgramsCount, L"0"},
        {&r.m_patchCount, L"0"},
        {&r.m_servicesCount, L"0"},
        {&r.m_componentsCount, L"0"},
        {&r.m_processorCount, L"0"},
        {&r.m_recentChangesCount, L"0"},
        {&r.m_recentChangesRawCount, L"0"},
        {&r.m_recentChangesList, L""},
        {&r.m_processorCoreCount, L""},
        {&r.m_inventoryFilesPath, L""},
        {&r.m_biosName, L""},
        {&r.m_falseChanges, L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(*c.field, c.expected);
    }
    EXPECT_EQ(r.m_totalPhysicalMemory, 0);
    EXPECT_EQ(r.m_processorSpeed, 0);
    EXPECT_EQ(r.m_totalDiskSize, 0);
    EXPECT_EQ(r.m_lastSessionTime.tm_year, 0);
}

TEST_F(ReportModelTest, RowHelpersAlternateTheRowClassByIndex) {
    const std::wstring cell = L"<td width=\"1%\">&nbsp;&nbsp;</td>";
    const std::wstring highlight = L"<tr class=\"rowHighlightData\">";
    const std::wstring plain = L"<tr class=\"rowData\">";
    for (int index : {0, 1, 2, 7}) {
        const std::wstring start = index % 2 == 0 ? highlight : plain;
        EXPECT_EQ(CInventoryReport::FormatSpanRow(L"text", index),
                  start + cell + L"<td colspan=\"2\">text</td></tr>\n");
        EXPECT_EQ(CInventoryReport::FormatLabelRow(L"Label:", L"value", index),
                  start + cell +
                      L"<td style=\"width: 150px; min-width: 100px;\">Label:</td><td>value"
                      L"</td></tr>\n");
    }
}

TEST_F(ReportModelTest, OpenSetsTheFixedFieldsAndLeavesThePreviousReport) {
    host_.version = {2, 5, 1234};
    config_ = std::make_unique<CLinuxConfig>();
    report_ = std::make_unique<CInventoryReport>(*config_);
    ASSERT_TRUE(platform::WriteWholeFile(OutputPath(), "an older report"));

    Open("x\n");
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(OutputPath(), bytes));
    EXPECT_EQ(bytes, "an older report") << "a run killed before WriteReport keeps the old report";

    EXPECT_EQ(report().m_inventoryFilesPath, L"inventory_files/");
    EXPECT_EQ(report().m_productName, L"Fennock");
    EXPECT_EQ(report().m_appVersion, L"2.5.1234");
    // The zone decides the clock and the runtime what follows the seconds.
    const std::wregex shape(LR"(^[A-Z][a-z]{2}, \d{2} [A-Z][a-z]{2} \d{4} \d{2}:\d{2}:\d{2} .+$)");
    EXPECT_TRUE(std::regex_match(report().m_currentTime, shape)) << report().m_currentTime;

    report().Open(TemplatePath(), OutputPath(), true);
    EXPECT_EQ(report().m_inventoryFilesPath, kPortableBaseUrl);
}

TEST_F(ReportModelTest, OpensPathsWithNonAsciiNames) {
    const std::filesystem::path folder = folder_.path() / std::u8string(u8"Bericht-\u00fc\u20ac");
    std::filesystem::create_directories(folder);
    const std::wstring wideFolder = folder_.Slashed() + L"Bericht-\u00fc\u20ac/";
    ASSERT_TRUE(
        platform::WriteWholeFile(wideFolder + L"t\u00e9mplate.tpl", "@@__m_productName__@@"));

    report().Open(wideFolder + L"t\u00e9mplate.tpl", wideFolder + L"r\u00e9port.html", false);
    report().WriteReport();

    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(wideFolder + L"r\u00e9port.html", bytes));
    EXPECT_EQ(bytes, "Fennock\r\n");
    EXPECT_TRUE(std::filesystem::exists(folder / std::u8string(u8"r\u00e9port.html")));
}

TEST_F(ReportModelTest, EveryPlaceholderOfTheShippedTemplateIsReplaced) {
    std::string shipped;
    ASSERT_TRUE(platform::ReadWholeFile(
        Utf8ToWide(FENNOCK_GENERATED_RESOURCES_DIR "/inventory.html.tpl"), shipped));
    EXPECT_THAT(Render(shipped), Not(HasSubstr("@@__"))) << "a placeholder has no step";
}

TEST_F(ReportModelTest, EarlierAndLaterPlaceholdersInFieldTexts) {
    CInventoryReport& r = report();
    Open("");
    r.m_biosName = L"<b>@@__m_processorCount__@@</b>";  // a later step's placeholder
    r.m_processorList = L"@@__m_biosVersion__@@";       // an earlier step's placeholder
    r.m_biosVersion = L"1.0";
    r.m_processorCount = L"2";
    r.m_computerSystemStatus.clear();
    struct Case {
        std::string line;
        std::string expected;
    };
    const Case cases[] = {
        {"<p>@@__m_productName__@@ and @@__m_productName__@@</p>", "<p>Fennock and Fennock</p>"},
        {"@@__m_biosName__@@", "<b>2</b>"},
        {"@@__m_processorList__@@", "@@__m_biosVersion__@@"},
        {"Computer : \"@@__m_biosVersion__@@\"@@__m_computerSystemStatus__@@",
         "Computer : \"1.0\""},
        {"@@__m_notInTheCatalogue__@@ @@__m_processorCount__@@", "@@__m_notInTheCatalogue__@@ 2"},
        {"@@__m_productName", "@@__m_productName"},
        {"no mark m_productName__@@", "no mark m_productName__@@"},
    };
    std::string templateBytes;
    std::string expected;
    for (const auto& c : cases) {
        templateBytes += c.line + "\n";
        expected += c.expected + "\r\n";
    }
    ASSERT_TRUE(platform::WriteWholeFile(TemplatePath(), templateBytes));
    r.Open(TemplatePath(), OutputPath(), false);
    EXPECT_EQ(Write(), expected);
}

TEST_F(ReportModelTest, InventoryTextCannotFormAPlaceholder) {
    report().RenderBIOS(
        {{{L"Name", L"@@__m_processorCount__@@"}, {L"Version", L"<script>alert(1)</script>"}}});
    EXPECT_EQ(Render("@@__m_biosName__@@|@@__m_biosVersion__@@"),
              "&#64;&#64;__m_processorCount__&#64;&#64;|"
              "&lt;script&gt;alert(1)&lt;/script&gt;\r\n");
}

TEST_F(ReportModelTest, WritesEveryLineWithCrLfAndAddsNoByteOrderMark) {
    struct Case {
        const char* name;
        std::string templateBytes;
        std::string expected;
    };
    const Case cases[] = {
        {"line feeds", "a\nb\n", "a\r\nb\r\n"},
        {"carriage returns kept out", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"last line without a line feed", "a\r\n@@__m_productName__@@", "a\r\nFennock\r\n"},
        {"empty lines", "\n\r\n\n", "\r\n\r\n\r\n"},
        {"empty template", "", ""},
        {"byte-order mark kept, not added", "\xEF\xBB\xBF<html>\n", "\xEF\xBB\xBF<html>\r\n"},
        {"non-ASCII text", "caf\xC3\xA9 @@__m_productName__@@\n", "caf\xC3\xA9 Fennock\r\n"},
        // One bad byte must not cost the rest of the line, placeholders included.
        {"invalid UTF-8", "ok \xFF @@__m_productName__@@ tail\n",
         "ok \xEF\xBF\xBD Fennock tail\r\n"},
    };
    for (const auto& c : cases) {
        report_ = std::make_unique<CInventoryReport>(*config_);
        EXPECT_EQ(Render(c.templateBytes), c.expected) << c.name;
    }
}

TEST_F(ReportModelTest, CompleteReportReplacesThePreviousOneAndLeavesNoPartialFile) {
    ASSERT_TRUE(platform::WriteWholeFile(OutputPath(), "an older, longer report"));
    EXPECT_EQ(Render("@@__m_productName__@@\n"), "Fennock\r\n");
    EXPECT_FALSE(platform::FileExists(OutputPath() + L".tmp"));
}

// Whatever stops the report from being written, the previous one stays as it was.
TEST_F(ReportModelTest, ReportThatCannotBeWrittenLeavesThePreviousOne) {
    ASSERT_TRUE(platform::WriteWholeFile(TemplatePath(), "@@__m_productName__@@\n"));
    const std::wstring folder = folder_.Slashed();
    ASSERT_TRUE(platform::WriteWholeFile(folder + L"a-file", "x"));
    // A folder, not empty, under a name the report could be asked to take.
    ASSERT_TRUE(platform::CreateFolders(folder + L"blocked/inventory.html.tmp"));
    ASSERT_TRUE(platform::WriteWholeFile(folder + L"blocked/inventory.html.tmp/x", "x"));
    ASSERT_TRUE(platform::WriteWholeFile(folder + L"blocked/inventory.html", "old"));
    struct Case {
        const char* what;
        std::wstring templatePath;
        std::wstring outputPath;
    };
    const Case cases[] = {
        {"missing template", folder + L"missing.tpl", OutputPath()},
        {"template is a folder", folder + L"blocked", OutputPath()},
        {"missing output folder", TemplatePath(), folder + L"no/such/folder/inventory.html"},
        {"output folder under a file", TemplatePath(), folder + L"a-file/inventory.html"},
        {"output is a folder", TemplatePath(), folder + L"blocked/inventory.html.tmp"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(platform::WriteWholeFile(OutputPath(), "stale"));
        CInventoryReport other(*config_);
        other.Open(c.templatePath, c.outputPath, false);
        EXPECT_FALSE(other.WriteReport()) << c.what;
        std::string bytes;
        ASSERT_TRUE(platform::ReadWholeFile(OutputPath(), bytes));
        EXPECT_EQ(bytes, "stale") << c.what;
        ASSERT_TRUE(platform::ReadWholeFile(folder + L"blocked/inventory.html", bytes));
        EXPECT_EQ(bytes, "old") << c.what;
        EXPECT_TRUE(platform::IsDirectory(folder + L"blocked/inventory.html.tmp")) << c.what;
    }
}

TEST_F(ReportModelTest, ReadOnlyFolderLeavesThePreviousReport) {
    const std::filesystem::path folder = folder_.path() / "read-only";
    std::filesystem::create_directories(folder);
    const std::wstring output = folder_.Slashed() + L"read-only/inventory.html";
    ASSERT_TRUE(platform::WriteWholeFile(output, "old"));
    ASSERT_TRUE(platform::WriteWholeFile(TemplatePath(), "x\n"));
    std::filesystem::permissions(
        folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const bool enforced = !platform::WriteWholeFile(output + L".probe", "");
    if (enforced) {
        report().Open(TemplatePath(), output, false);
        EXPECT_FALSE(report().WriteReport());
        std::string bytes;
        ASSERT_TRUE(platform::ReadWholeFile(output, bytes));
        EXPECT_EQ(bytes, "old");
    }
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    if (!enforced) {
        GTEST_SKIP() << "the folder's permissions are not enforced here (root, or Windows)";
    }
}

TEST_F(ReportModelTest, EachOpenAllowsOneWrite) {
    ASSERT_TRUE(platform::WriteWholeFile(TemplatePath(), "x\n"));
    EXPECT_FALSE(report().WriteReport()) << "nothing to write before Open";
    EXPECT_FALSE(platform::FileExists(OutputPath()));
    report().Open(TemplatePath(), OutputPath(), false);
    EXPECT_TRUE(report().WriteReport());
    ASSERT_TRUE(platform::WriteWholeFile(OutputPath(), "kept"));
    EXPECT_FALSE(report().WriteReport());
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(OutputPath(), bytes));
    EXPECT_EQ(bytes, "kept");
}

// A list of many thousand rows is one line of the template: its line feeds become CR LF in
// one pass, and the bytes are exactly those of the line-by-line copy.
TEST_F(ReportModelTest, LongListLineGetsItsLineEndsInOnePass) {
    std::vector<SessionItem> processes;
    std::string rows;
    for (int i = 0; i < 50000; ++i) {
        const std::wstring name = L"p" + std::to_wstring(i) + L".exe";
        processes.push_back({{L"Name", name}, {L"CommandLine", L"a\r\nb\u00e9\n"}});
        rows +=
            std::string(i % 2 == 0 ? "<tr class=\"rowHighlightData\">" : "<tr class=\"rowData\">") +
            "<td width=\"1%\">&nbsp;&nbsp;</td><td colspan=\"2\">" + WideToUtf8(name) +
            " (a&#13;\r\nb\xC3\xA9\r\n)</td></tr>\r\n";
    }
    report().RenderProcess(processes);
    EXPECT_EQ(Render("<table>\r\n@@__m_processCount__@@|@@__m_processList__@@|end\n</table>"),
              "<table>\r\n50000|" + rows + "|end\r\n</table>\r\n");
}

TEST_F(ReportModelTest, EmptyChangeListsGetTheNoChangesRow) {
    const std::wstring noChanges = CInventoryReport::FormatSpanRow(L"No changes detected.", 0);
    Render("");
    EXPECT_EQ(report().m_recentChangesList, noChanges);
    EXPECT_EQ(report().m_recentChangesRawList, noChanges);
    EXPECT_EQ(report().m_recentChangesCount, L"0");

    report_ = std::make_unique<CInventoryReport>(*config_);
    report().m_recentChangesList = L"<tr>kept</tr>";
    Render("");
    EXPECT_EQ(report().m_recentChangesList, L"<tr>kept</tr>");
    EXPECT_EQ(report().m_recentChangesRawList, noChanges);
}

TEST_F(ReportModelTest, WriteReportAssessesCompatibilityFirst) {
    // The assessment's texts are in the page, so it runs before the copy.
    EXPECT_EQ(Render("@@__m_compatWinxpColor__@@ @@__m_compatWin7CpuRequired__@@\n"),
              "yellow 1.00GHz\r\n");
}

TEST_F(ReportModelTest, SupportFormOnlyForTheMakersMachinesWithASerialNumber) {
    struct Case {
        std::wstring manufacturer;
        std::wstring serial;
        bool form;
    };
    const Case cases[] = {
        {L"Varn Inc.", L"ABC1234", true},
        {L"VARN", L"ABC1234", true},
        {L"VARN", L"", false},
        {L"Other Corp", L"ABC1234", false},
    };
    for (const auto& c : cases) {
        report_ = std::make_unique<CInventoryReport>(*config_);
        report().RenderComputerSystem({{{L"Manufacturer", c.manufacturer}, {L"Model", L"M1"}}});
        report().RenderBIOS({{{L"SerialNumber", c.serial}}});
        Render("");
        if (c.form) {
            EXPECT_THAT(report().m_computerSystemModel, StartsWith(L"M1<form "));
        } else {
            EXPECT_EQ(report().m_computerSystemModel, L"M1");
        }
    }
}

TEST_F(ReportModelTest, SupportFormMarkup) {
    report().RenderComputerSystem({{{L"Manufacturer", L"varn"}, {L"Model", L"M1"}}});
    report().RenderBIOS({{{L"SerialNumber", L"\"><script>x</script>"}}});
    Open("", true);
    Write();
    std::wstring action = kSupportFormUrl;
    ASSERT_THAT(action, HasSubstr(L"&"));
    ASSERT_THAT(action, HasSubstr(L"/support/topics/global.aspx/support/my_systems_info/en/"
                                  L"details?c=us&cs=555&l=en&s=biz&~tab=1"));
    ReplaceAll(action, L"&", L"&amp;");
    EXPECT_EQ(report().m_computerSystemModel,
              L"M1<form target=\"_zephVarnWindow\" name=\"frmServiceTagSelect\" method=\"post\"\n"
              L"action=\"" +
                  action +
                  L"\">\n"
                  L"<input name=\"ServiceTag\" id=\"ServiceTag\" "
                  L"value=\"&quot;&gt;&lt;script&gt;x&lt;/script&gt;\" type=\"hidden\" "
                  L"maxlength=\"7\" size=\"8\" />\n" +
                  std::wstring(kSupportHost) + L" <input type=\"image\" src=\"" + kPortableBaseUrl +
                  L"blue_arrow.gif\"/>\n</form>");
}

TEST_F(ReportModelTest, ProcessorNoteForPentiumIiiOnXpAnd2003) {
    struct Case {
        std::wstring processor;
        std::wstring caption;
        bool note;
    };
    const Case cases[] = {
        {L"Intel Pentium iii Xeon", L"Microsoft Windows XP Professional", true},
        {L"Intel(R) pentium(r) III", L"Microsoft Windows Server 2003", true},
        {L"Intel Pentium III", L"Microsoft Windows 7 Professional", false},
        {L"Intel Pentium III", L"Microsoft Windows xp", false},  // the caption test keeps case
        {L"Intel Pentium 4", L"Microsoft Windows XP Professional", false},
        {L"Intel PentiumIII", L"Microsoft Windows XP Professional", false},
    };
    for (const auto& c : cases) {
        report_ = std::make_unique<CInventoryReport>(*config_);
        report().RenderProcessor({{{L"DeviceID", L"CPU0"}, {L"Name", c.processor}}});
        report().RenderOperatingSystem({{{L"Caption", c.caption}}});
        const std::wstring list = report().m_processorList;
        Render("");
        if (c.note) {
            EXPECT_EQ(report().m_processorList,
                      list +
                          L"<br><span style=\"color:red\">NOTE: The type of processor(s) may "
                          L"have been reported incorrectly by Windows. You should download and "
                          L"install <a href=\"" +
                          kKnowledgeBaseArticleUrl +
                          L"953955\" target=\"_blank\">Hotfix KB953955</a> from "
                          L"Microsoft.</span>")
                << c.processor << " on " << c.caption;
        } else {
            EXPECT_EQ(report().m_processorList, list) << c.processor << " on " << c.caption;
        }
    }
}

}  // namespace
