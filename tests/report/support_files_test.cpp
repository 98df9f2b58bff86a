#include "report/support_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/resources.h"
#include "temp_folder.h"

namespace {
namespace fs = std::filesystem;

struct NamedResource {
    int id;
    const char* name;
};

// The support files the HTML report refers to, with the names the template uses.
const std::vector<NamedResource> kSupportFiles = {
    {201, "common.css"},
    {202, "gray.gif"},
    {203, "hd_20x20.gif"},
    {204, "headerBGBlueGrad.png"},
    {205, "help_green_20.gif"},
    {206, "mirk.ico"},
    {207, "navBarBG.png"},
    {208, "header_inventory.gif"},
    {209, "RoundRectBottomLeft.gif"},
    {210, "RoundRectBottomRight.gif"},
    {211, "RoundRectTopLeft.gif"},
    {212, "RoundRectTopRight.gif"},
    {215, "blue_arrow.gif"},
    {216, "externalLink.png"},
    {217, "add.gif"},
    {218, "del.gif"},
    {219, "ref.gif"},
    {220, "red.gif"},
    {221, "green.gif"},
    {222, "yellow.gif"},
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every regular file below the folder, as forward-slash paths relative to it.
std::set<std::string> FilesUnder(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.insert(entry.path().lexically_relative(root).generic_string());
    return files;
}

std::wstring Slashed(const fs::path& folder) {
    return folder.wstring() + static_cast<wchar_t>(fs::path::preferred_separator);
}

std::string Resource(int id) {
    return std::string(platform::ProgramResource(id));
}

class SupportFilesTest : public ::testing::Test {
  protected:
    fs::path Data() const { return temp_.path() / "data"; }
    // Two levels that do not exist yet.
    fs::path Output() const { return temp_.path() / "reports" / "today"; }
    CSupportFiles Extractor() const { return CSupportFiles(Slashed(Data()), Slashed(Output())); }

    TempFolder temp_;
};

TEST_F(SupportFilesTest, HtmlRunWritesTheTemplateAndEverySupportFileWithItsResourceBytes) {
    EXPECT_EQ(L"", Extractor().ExtractAll(RunFlags{}));

    std::set<std::string> expected = {"data/inventory.html.tpl"};
    for (const NamedResource& file : kSupportFiles)
        expected.insert(std::string("reports/today/inventory_files/") + file.name);
    EXPECT_EQ(FilesUnder(temp_.path()), expected);

    EXPECT_EQ(ReadBytes(Data() / "inventory.html.tpl"), Resource(200));
    for (const NamedResource& file : kSupportFiles) {
        SCOPED_TRACE(file.name);
        const std::string bytes = Resource(file.id);
        EXPECT_FALSE(bytes.empty());
        EXPECT_EQ(ReadBytes(Output() / "inventory_files" / file.name), bytes);
    }
}

TEST_F(SupportFilesTest, PortableAndYamlRunsWriteOnlyTheirTemplate) {
    Extractor().ExtractAll(RunFlags{.portable = true});
    EXPECT_EQ(FilesUnder(temp_.path()), std::set<std::string>{"data/inventory.html.tpl"});
    EXPECT_FALSE(fs::exists(Output()));

    fs::remove_all(Data());
    Extractor().ExtractAll(RunFlags{.yaml = true});
    EXPECT_EQ(FilesUnder(temp_.path()), std::set<std::string>{"data/inventory.yaml.tpl"});
    EXPECT_EQ(ReadBytes(Data() / "inventory.yaml.tpl"), Resource(214));

    fs::remove_all(Data());
    Extractor().ExtractAll(RunFlags{.portable = true, .yaml = true, .diff = true});
    EXPECT_EQ(FilesUnder(temp_.path()), std::set<std::string>{"data/inventory.yaml.tpl"});
}

TEST_F(SupportFilesTest, ExtractAllReplacesEarlierFilesAndLeavesOthersAlone) {
    fs::create_directories(Output() / "inventory_files");
    fs::create_directories(Data());
    WriteBytes(Data() / "inventory.html.tpl", "an older template, longer than nothing at all");
    WriteBytes(Output() / "inventory_files" / "red.gif", "stale");
    WriteBytes(Output() / "inventory_files" / "notes.txt", "kept");

    Extractor().ExtractAll(RunFlags{});

    EXPECT_EQ(ReadBytes(Data() / "inventory.html.tpl"), Resource(200));
    EXPECT_EQ(ReadBytes(Output() / "inventory_files" / "red.gif"), Resource(220));
    EXPECT_EQ(ReadBytes(Output() / "inventory_files" / "notes.txt"), "kept");
}

// A report without its style sheet or its template is not a report: the run is told.
TEST_F(SupportFilesTest, WhatCannotBeWrittenFailsTheRunWithItsPath) {
    // A folder cannot be made below a regular file.
    const fs::path blocker = temp_.path() / "blocker";
    WriteBytes(blocker, "x");
    const std::wstring unwritable =
        CSupportFiles(Slashed(Data()), Slashed(blocker / "out")).ExtractAll(RunFlags{});
    EXPECT_NE(std::wstring::npos, unwritable.find(L"support folder '" + Slashed(blocker / "out") +
                                                  L"inventory_files'"));
    EXPECT_EQ(FilesUnder(temp_.path()),
              (std::set<std::string>{"blocker", "data/inventory.html.tpl"}));
    EXPECT_EQ(ReadBytes(blocker), "x");

    const std::wstring noTemplate =
        CSupportFiles(Slashed(blocker / "data"), Slashed(Output())).ExtractAll(RunFlags{});
    EXPECT_EQ(L"The report template could not be written to '" + Slashed(blocker / "data") +
                  L"inventory.html.tpl'.",
              noTemplate);
}

TEST_F(SupportFilesTest, WriteResourceFileOverwritesOnlyWhenAskedAndSkipsMissingResources) {
    fs::create_directories(Data());
    const fs::path path = Data() / "style.css";
    WriteBytes(path, "mine");

    CSupportFiles extractor = Extractor();
    EXPECT_TRUE(extractor.WriteResourceFile(201, path.wstring(), false));
    EXPECT_EQ(ReadBytes(path), "mine");
    EXPECT_TRUE(extractor.WriteResourceFile(201, path.wstring(), true));
    EXPECT_EQ(ReadBytes(path), Resource(201));

    // Not in the table: no file, not even an empty one.
    const fs::path missing = Output() / "missing.bin";
    EXPECT_TRUE(extractor.WriteResourceFile(199, missing.wstring(), true));
    EXPECT_FALSE(fs::exists(missing));
}

TEST(ProgramResourceTest, TextResourcesDecodeAndUnknownIdsAreEmpty) {
    EXPECT_EQ(CSupportFiles::LoadTextResource(kLicenceResource).rfind(L"{\\rtf", 0), 0u);
    EXPECT_EQ(CSupportFiles::LoadTextResource(kYamlTemplateResource).rfind(L"%YAML 1.2", 0), 0u);
    EXPECT_EQ(CSupportFiles::LoadTextResource(kHtmlTemplateResource).rfind(L"<!DOCTYPE html>", 0),
              0u);
    EXPECT_TRUE(CSupportFiles::LoadTextResource(199).empty());
    EXPECT_TRUE(platform::ProgramResource(223).empty());
}

// The build carries the files of resources/ unchanged (the template after the addresses are
// written in, which the build folder holds).
TEST(ProgramResourceTest, EveryResourceIsItsSourceFileByteForByte) {
    const fs::path sources = FENNOCK_RESOURCES_DIR;
    EXPECT_EQ(Resource(200),
              ReadBytes(fs::path(FENNOCK_GENERATED_RESOURCES_DIR) / "inventory.html.tpl"));
    EXPECT_EQ(Resource(201), ReadBytes(sources / "common.css"));
    EXPECT_EQ(Resource(213), ReadBytes(sources / "licence.rtf"));
    EXPECT_EQ(Resource(214), ReadBytes(sources / "inventory.yaml.tpl"));
    for (const NamedResource& file : kSupportFiles) {
        if (file.id == 201)
            continue;
        SCOPED_TRACE(file.name);
        const std::string source = ReadBytes(sources / "images" / file.name);
        ASSERT_FALSE(source.empty());
        EXPECT_EQ(Resource(file.id), source);
    }
}

TEST(ProgramResourceTest, TrafficLightsCoverEveryCompatibilityColour) {
    for (int id : {220, 221, 222})
        EXPECT_EQ(Resource(id).substr(0, 6), "GIF89a") << id;
}

// ---------------------------------------------------------------------------------------
// The HTML template against the report model.

// All 113 placeholder fields of the model.
const std::vector<std::string> kPlaceholders = {
    "inventoryFilesPath",
    "timeSinceLastScan",
    "productName",
    "currentTime",
    "appVersion",
    "IPAddress",
    "MACAddress",
    "processList",
    "processCount",
    "installedProgramsList",
    "installedProgramsCount",
    "biosName",
    "biosVersion",
    "biosManufacturer",
    "biosDescription",
    "biosIdentificationCode",
    "biosSerialNumber",
    "operatingSystemInstallDate",
    "operatingSystemLastBootupTime",
    "operatingSystemUptime",
    "operatingSystemTotalVisibleMemorySize",
    "operatingSystemFreePhysicalMemory",
    "operatingSystemUsedPhysicalMemory",
    "operatingSystemCaption",
    "operatingSystemVersion",
    "operatingSystemBuildNumber",
    "operatingSystemCsdVersion",
    "operatingSystemWindowsDirectory",
    "operatingSystemDescription",
    "operatingSystemOSArchitecture",
    "physicalMemoryTotalSize",
    "physicalMemoryList",
    "physicalMemoryArrayMaxCapacity",
    "physicalMemoryArrayMemoryDevices",
    "computerSystemManufacturer",
    "computerSystemModel",
    "computerSystemName",
    "computerSystemDomain",
    "computerSystemStatus",
    "motherboardDevicePrimaryBusType",
    "motherboardDeviceSecondaryBusType",
    "soundDeviceDescription",
    "CDROMDeviceName",
    "videoControllerName",
    "desktopMonitorName",
    "desktopMonitorDescription",
    "desktopMonitorDeviceID",
    "desktopMonitorMonitorManufacturer",
    "desktopMonitorMonitorType",
    "registryCurrentSize",
    "registryMaximumSize",
    "logicalDiskDriveList",
    "networkAdapterConfigurationCount",
    "networkAdapterConfigurationList",
    "printerCount",
    "printerList",
    "startupProgramsCount",
    "startupProgramsList",
    "patchCount",
    "patchList",
    "servicesCount",
    "servicesList",
    "componentsCount",
    "componentsList",
    "componentsDisableStart",
    "componentsDisableEnd",
    "userAccountName",
    "userAccountFullName",
    "userAccountDomain",
    "processorCoreCount",
    "processorCount",
    "processorList",
    "recentChangesCount",
    "recentChangesList",
    "recentChangesRawCount",
    "recentChangesRawList",
    "recentChangesDisableStart",
    "recentChangesDisableEnd",
    "compatWin7Color",
    "compatWin7Status",
    "compatWin7CpuActual",
    "compatWin7CpuRequired",
    "compatWin7CpuRecommended",
    "compatWin7RamActual",
    "compatWin7RamRequired",
    "compatWin7RamRecommended",
    "compatWin7DiskActual",
    "compatWin7DiskRequired",
    "compatWin7DiskRecommended",
    "compatVistaColor",
    "compatVistaStatus",
    "compatVistaCpuActual",
    "compatVistaCpuRequired",
    "compatVistaCpuRecommended",
    "compatVistaRamActual",
    "compatVistaRamRequired",
    "compatVistaRamRecommended",
    "compatVistaDiskActual",
    "compatVistaDiskRequired",
    "compatVistaDiskRecommended",
    "compatWinxpColor",
    "compatWinxpStatus",
    "compatWinxpCpuActual",
    "compatWinxpCpuRequired",
    "compatWinxpCpuRecommended",
    "compatWinxpRamActual",
    "compatWinxpRamRequired",
    "compatWinxpRamRecommended",
    "compatWinxpDiskActual",
    "compatWinxpDiskRequired",
    "compatWinxpDiskRecommended",
    "insufficientAccess",
    "falseChanges",
    "processorLogicalCount",
    "platformFirmwareType",
    "platformSecureBoot",
    "platformVirtualization",
    "platformInitSystem",
    "tpmText",
    "diskDriveNames",
    "usbDeviceNames",
    "compatWin10Color",
    "compatWin10Status",
    "compatWin10List",
    "compatWin11Color",
    "compatWin11Status",
    "compatWin11List",
};

// Substituted by the engine but shown nowhere on the page.
const std::set<std::string> kUnusedPlaceholders = {
    "biosIdentificationCode",
    "operatingSystemTotalVisibleMemorySize",
    "operatingSystemFreePhysicalMemory",
    "operatingSystemDescription",
    "desktopMonitorName",
    "desktopMonitorDescription",
    "desktopMonitorDeviceID",
    "desktopMonitorMonitorManufacturer",
    "desktopMonitorMonitorType",
    "userAccountName",
    "userAccountFullName",
    "userAccountDomain",
};

std::string Placeholder(const std::string& name) {
    return "@@__m_" + name + "__@@";
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class InventoryTemplateTest : public ::testing::Test {
  protected:
    std::string page_ = Resource(kHtmlTemplateResource);
};

TEST_F(InventoryTemplateTest, UsesEveryPlaceholderOfTheModelButTheUnusedOnes) {
    ASSERT_EQ(kPlaceholders.size(), 127u);
    for (const std::string& name : kPlaceholders) {
        SCOPED_TRACE(name);
        const bool shown = kUnusedPlaceholders.count(name) == 0;
        EXPECT_EQ(Count(page_, Placeholder(name)) > 0, shown);
    }
}

TEST_F(InventoryTemplateTest, NamesNoPlaceholderOutsideTheCatalogue) {
    const std::set<std::string> known(kPlaceholders.begin(), kPlaceholders.end());
    const std::regex pattern("@@__m_([A-Za-z0-9]+)__@@");
    // The platform marks count only first on a line.
    const std::string page =
        std::regex_replace(page_, std::regex("(^|\n)@@__(windows|linux|ifFilled)__@@"), "$1");
    std::size_t found = 0;
    for (std::sregex_iterator it(page.begin(), page.end(), pattern), end; it != end; ++it) {
        ++found;
        EXPECT_TRUE(known.count((*it)[1].str())) << (*it)[0].str();
    }
    // A misspelt mark (one "@" short, say) would be copied into the page as it is.
    EXPECT_EQ(Count(page, "@@__"), found);
    EXPECT_EQ(Count(page, "__@@"), found);
}

TEST_F(InventoryTemplateTest, HasEachSectionOnceWithOnlyTheSummaryOpen) {
    EXPECT_EQ(Count(page_, "<tbody id=\"section1\">"), 1u);
    for (int n = 1; n <= 14; ++n) {
        const std::string id = "section" + std::to_string(n);
        SCOPED_TRACE(id);
        EXPECT_EQ(Count(page_, "id=\"" + id + "\""), 1u);
        EXPECT_EQ(Count(page_, "hideShowDetail('" + id + "')"), 1u);
        if (n != 1) {
            EXPECT_EQ(Count(page_, "<tbody id=\"" + id + "\" style=\"display:none\">"), 1u);
        }
    }
    EXPECT_EQ(Count(page_, "id=\"section15\""), 0u);
    EXPECT_EQ(Count(page_, "var gLastSectionId = 14;"), 1u);
}

// When a pair of markers is set, everything between them becomes one HTML comment, which
// any "--" inside would end early or make invalid.
TEST_F(InventoryTemplateTest, DisableMarkersEncloseWholeOptionalSections) {
    struct Block {
        std::string start, end, sectionId;
        std::size_t occurrence;
    };
    const std::vector<Block> blocks = {
        {"recentChangesDisableStart", "recentChangesDisableEnd", "section11", 0},
        {"recentChangesDisableStart", "recentChangesDisableEnd", "section12", 1},
        {"componentsDisableStart", "componentsDisableEnd", "section13", 0},
    };
    EXPECT_EQ(Count(page_, Placeholder("recentChangesDisableStart")), 2u);
    EXPECT_EQ(Count(page_, Placeholder("recentChangesDisableEnd")), 2u);
    EXPECT_EQ(Count(page_, Placeholder("componentsDisableStart")), 1u);
    EXPECT_EQ(Count(page_, Placeholder("componentsDisableEnd")), 1u);

    std::string outside = page_;
    for (const Block& block : blocks) {
        SCOPED_TRACE(block.sectionId);
        std::size_t begin = 0;
        for (std::size_t i = 0; i <= block.occurrence; ++i)
            begin = page_.find(Placeholder(block.start), i ? begin + 1 : 0);
        const std::size_t finish = page_.find(Placeholder(block.end), begin);
        ASSERT_NE(begin, std::string::npos);
        ASSERT_NE(finish, std::string::npos);
        const std::string inside = page_.substr(begin, finish - begin);
        EXPECT_EQ(Count(inside, "id=\"" + block.sectionId + "\""), 1u);
        EXPECT_EQ(Count(inside, "hideShowDetail('" + block.sectionId + "')"), 1u);
        EXPECT_EQ(Count(inside, "--"), 0u);
        // Whole table bodies, so that the table stays valid with the block gone.
        EXPECT_EQ(Count(inside, "<tbody"), Count(inside, "</tbody>"));
        EXPECT_EQ(Count(inside, "<tr"), Count(inside, "</tr>"));
        outside.replace(begin, finish - begin, std::string(finish - begin, ' '));
    }
    // No other section hides with them.
    EXPECT_EQ(Count(outside, "<tbody id=\"section"), 11u);
}

TEST_F(InventoryTemplateTest, RefersOnlyToFilesTheSupportFolderHolds) {
    std::set<std::string> names;
    for (const NamedResource& file : kSupportFiles)
        names.insert(file.name);
    const std::regex reference(Placeholder("inventoryFilesPath") + "([A-Za-z0-9_.]+)");
    std::set<std::string> referenced;
    for (std::sregex_iterator it(page_.begin(), page_.end(), reference), end; it != end; ++it) {
        referenced.insert((*it)[1].str());
        EXPECT_TRUE(names.count((*it)[1].str())) << (*it)[1].str();
    }
    for (const char* name : {"mirk.ico", "common.css", "header_inventory.gif"})
        EXPECT_TRUE(referenced.count(name)) << name;
    // The compatibility lights take their name from the verdict's colour.
    for (const char* system : {"Winxp", "Vista", "Win7"})
        EXPECT_EQ(Count(page_, Placeholder("inventoryFilesPath") +
                                   Placeholder(std::string("compat") + system + "Color") + ".gif"),
                  1u)
            << system;

    const std::string css = Resource(201);
    const std::regex url("url\\(\"([^\"]+)\"\\)");
    for (std::sregex_iterator it(css.begin(), css.end(), url), end; it != end; ++it)
        EXPECT_TRUE(names.count((*it)[1].str())) << (*it)[1].str();
}

TEST_F(InventoryTemplateTest, DefinesTheScriptsThatGeneratedRowsCall) {
    // Rows made by the renderers call these by name.
    EXPECT_EQ(Count(page_, "function hideShowDetail(sectionID)"), 1u);
    EXPECT_EQ(Count(page_, "function hideShowSubdetail(sectionID)"), 1u);
    EXPECT_EQ(Count(page_, "function expandAllDetail(count, toggleAllowed)"), 1u);
    EXPECT_EQ(Count(page_, "expandAllDetail(gLastSectionId, 1)"), 1u);
    EXPECT_EQ(
        Count(page_, "This system inventory was generated on " + Placeholder("currentTime") + "."),
        1u);
}

}  // namespace
