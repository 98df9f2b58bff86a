// The SMBIOS table parser and what the providers make of the table: BIOS, memory, and the
// processor facts the table completes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/firmware/bios.h"
#include "platform/linux/live/firmware/memory_modules.h"
#include "platform/linux/live/firmware/smbios.h"
#include "temp_folder.h"
#include "tree_root.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;
using namespace platform::live::firmware;

namespace {

// One structure as the firmware lays it out: the formatted area, then the string set.
class Structure {
  public:
    Structure(std::uint8_t type, std::size_t length) : formatted_(length, '\0') {
        formatted_[0] = static_cast<char>(type);
        formatted_[1] = static_cast<char>(length);
    }
    Structure& Field(std::size_t offset, std::uint64_t value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i)
            formatted_.at(offset + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
        return *this;
    }
    Structure& Byte(std::size_t offset, std::uint8_t value) { return Field(offset, value, 1); }
    Structure& Word(std::size_t offset, std::uint16_t value) { return Field(offset, value, 2); }
    Structure& Dword(std::size_t offset, std::uint32_t value) { return Field(offset, value, 4); }
    Structure& Qword(std::size_t offset, std::uint64_t value) { return Field(offset, value, 8); }
    Structure& Strings(std::vector<std::string> strings) {
        strings_ = std::move(strings);
        return *this;
    }
    std::string Bytes() const {
        std::string bytes = formatted_;
        for (const auto& s : strings_)
            bytes += s + '\0';
        if (strings_.empty())
            bytes += '\0';
        return bytes + '\0';
    }

  private:
    std::string formatted_;
    std::vector<std::string> strings_;
};

std::string EndOfTable() {
    return Structure(127, 4).Bytes();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Bios() {
    return Structure(0, 0x18)
        .Byte(0x04, 1)
        .Byte(0x05, 2)
        .Byte(0x08, 3)
        .Strings({"Northwind BIOS Ltd.  ", "A17", "12/31/99"})
        .Bytes();
}

std::string System(std::uint8_t manufacturer) {
    return Structure(1, 0x1B)
        .Byte(0x04, manufacturer)
        .Byte(0x05, 2)
        .Byte(0x07, 3)
        .Strings({"Contoso", "Tower 7", "SN-<42>\\\"'"})
        .Bytes();
}

std::string Baseboard() {
    return Structure(2, 0x0F).Byte(0x04, 1).Byte(0x05, 2).Strings({"Tailspin", "TS-1"}).Bytes();
}

TEST(FirmwareSmbiosTest, ReadsFieldsAndNumberedStrings) {
    const std::string table = Structure(0, 0x18)
                                  .Byte(0x04, 1)
                                  .Byte(0x05, 2)
                                  .Byte(0x06, 9)  // past the set
                                  .Byte(0x07, 3)  // blank
                                  .Word(0x0A, 0xBEEF)
                                  .Dword(0x0C, 0x12345678)
                                  .Qword(0x10, 0x0102030405060708ull)
                                  .Strings({"  Vendor  ", "1.0", "   "})
                                  .Bytes() +
                              Structure(2, 0x08).Bytes() + EndOfTable() +
                              Structure(1, 0x1B).Bytes();
    const auto structures = ParseSmbiosTable(table);
    ASSERT_EQ(2u, structures.size()) << "nothing after the end of the table";
    const auto& bios = structures[0];
    EXPECT_EQ(0, bios.type);
    EXPECT_EQ(std::optional<std::string>("Vendor"), bios.String(0x04));
    EXPECT_EQ(std::optional<std::string>("1.0"), bios.String(0x05));
    EXPECT_EQ(std::nullopt, bios.String(0x06));
    EXPECT_EQ(std::nullopt, bios.String(0x07));
    EXPECT_EQ(std::nullopt, bios.String(0x08)) << "number 0 names no string";
    EXPECT_EQ(0xBEEF, bios.Word(0x0A));
    EXPECT_EQ(0x12345678u, bios.Dword(0x0C));
    EXPECT_EQ(0x0102030405060708ull, bios.Qword(0x10));
    EXPECT_EQ(std::nullopt, bios.Qword(0x11)) << "a field reaching past the formatted area";
    EXPECT_EQ(std::nullopt, bios.Byte(0x18));
    EXPECT_EQ(2, structures[1].type);
    EXPECT_TRUE(structures[1].strings.empty());
}

TEST(FirmwareSmbiosTest, DamagedTablesKeepTheWholeStructuresBeforeTheDamage) {
    const std::string good = Baseboard();
    const std::string bios = Bios();
    struct Case {
        const char* what;
        std::string table;
        std::size_t structures;
        std::size_t lastStrings;
    };
    const std::vector<Case> cases = {
        {"empty", "", 0, 0},
        {"shorter than a header", std::string("\x00\x18\x00", 3), 0, 0},
        {"formatted area cut", good + bios.substr(0, 10), 1, 2},
        {"length past the end", good + std::string("\x01\x7F\x00\x00\x00\x00", 6), 1, 2},
        {"length below the header", good + std::string("\x01\x02\x00\x00\x00\x00", 6), 1, 2},
        {"string set cut", good + bios.substr(0, bios.size() - 6), 2, 2},
        {"no end structure", good + bios, 2, 3},
    };
    for (const auto& c : cases) {
        const auto structures = ParseSmbiosTable(c.table);
        ASSERT_EQ(c.structures, structures.size()) << c.what;
        if (!structures.empty()) {
            EXPECT_EQ(c.lastStrings, structures.back().strings.size()) << c.what;
        }
    }
}

TEST(FirmwareSmbiosTest, EntryPointsStateTheTableLength) {
    std::string legacy(0x1F, '\0');
    legacy.replace(0, 4, "_SM_");
    legacy[0x16] = 0x34;
    legacy[0x17] = 0x12;
    std::string current(0x18, '\0');
    current.replace(0, 5, "_SM3_");
    current[0x0C] = 0x00;
    current[0x0D] = 0x10;
    EXPECT_EQ(0x1234u, SmbiosTableLength(legacy));
    EXPECT_EQ(0x1000u, SmbiosTableLength(current));
    EXPECT_EQ(std::nullopt, SmbiosTableLength("_DMI_ and more bytes here"));
    EXPECT_EQ(std::nullopt, SmbiosTableLength("_SM3_\x18"));

    // Bytes past the stated length are not structures.
    TempFolder root;
    const std::string table = Bios() + System(1);
    std::string entry = legacy;
    entry[0x16] = static_cast<char>(Bios().size());
    entry[0x17] = 0;
    WriteFile(root.path() / "sys/firmware/dmi/tables/DMI", table);
    WriteFile(root.path() / "sys/firmware/dmi/tables/smbios_entry_point", entry);
    EXPECT_EQ(1u, ReadSmbiosTable(TreeRoot(root.path().string())).size());
}

TEST(FirmwareSmbiosTest, MemoryModulesCountOnlyPopulatedDevicesAndUseExtendedSizes) {
    const auto device = [](std::uint16_t size, std::uint16_t speed, std::uint8_t locator) {
        return Structure(17, 0x28)
            .Word(0x0C, size)
            .Byte(0x10, locator)
            .Byte(0x11, 2)
            .Word(0x15, speed)
            .Byte(0x17, 3);
    };
    const std::vector<std::string> strings = {"DIMM A1", "BANK 0", "Fabrikam"};
    std::string table = device(8192, 3200, 1).Strings(strings).Bytes() +
                        device(0, 0, 1).Strings(strings).Bytes() +  // empty slot
                        device(0x7FFF, 0, 0).Dword(0x1C, 0x80008000).Strings(strings).Bytes() +
                        device(0x8200, 0xFFFF, 7).Strings(strings).Bytes() +
                        device(0xFFFF, 2400, 1).Strings(strings).Bytes();
    // SMBIOS 3.3 extended speed.
    table += Structure(17, 0x5C).Word(0x0C, 4096).Word(0x15, 0xFFFF).Dword(0x54, 8800).Bytes();
    // SMBIOS 2.1: no speed field at all.
    table += Structure(17, 0x15).Word(0x0C, 1024).Bytes();
    const auto modules = MemoryModuleObjects(ParseSmbiosTable(table));
    ASSERT_EQ(6u, modules.size());
    const std::vector<std::vector<std::string>> expected = {
        {"Physical Memory 0", "DIMM A1", "8589934592", "3200", "Fabrikam"},
        {"Physical Memory 1", "(null)", "34359738368", "(null)", "Fabrikam"},
        {"Physical Memory 2", "(null)", "524288", "(null)", "Fabrikam"},
        {"Physical Memory 3", "DIMM A1", "(null)", "2400", "Fabrikam"},
        {"Physical Memory 4", "(null)", "4294967296", "8800", "(null)"},
        {"Physical Memory 5", "(null)", "1073741824", "(null)", "(null)"},
    };
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const std::vector<std::string> got = {
            ShownUtf8(modules[i], L"Tag"), ShownUtf8(modules[i], L"DeviceLocator"),
            ShownUtf8(modules[i], L"Capacity"), ShownUtf8(modules[i], L"Speed"),
            ShownUtf8(modules[i], L"Manufacturer")};
        EXPECT_EQ(expected[i], got) << i;
    }
    EXPECT_EQ(WmiValue::Kind::String, modules[0].Find(L"Capacity")->kind);
    EXPECT_EQ(WmiValue::Kind::UInt32, modules[0].Find(L"Speed")->kind);
}

TEST(FirmwareSmbiosTest, MemoryArraysGiveKibibytesThatFitOrNull) {
    const auto array = [](std::uint32_t capacity, std::uint64_t extended) {
        return Structure(16, 0x17).Dword(0x07, capacity).Word(0x0D, 4).Qword(0x0F, extended);
    };
    const std::string table = array(0x01000000, 0).Bytes() + array(0x80000000, 2ull << 40).Bytes() +
                              array(0x80000000, 8ull << 40).Bytes() +
                              Structure(16, 0x0D).Dword(0x07, 0x80000000).Bytes();
    const auto arrays = MemoryArrayObjects(ParseSmbiosTable(table));
    ASSERT_EQ(4u, arrays.size());
    const std::vector<std::vector<std::string>> expected = {
        {"Physical Memory Array 0", "16777216", "16777216", "4"},
        {"Physical Memory Array 1", "2147483648", "2147483648", "4"},
        {"Physical Memory Array 2", "(null)", "8589934592", "4"},
        {"Physical Memory Array 3", "(null)", "(null)", "(null)"},
    };
    for (std::size_t i = 0; i < arrays.size(); ++i) {
        const std::vector<std::string> got = {
            ShownUtf8(arrays[i], L"Tag"), ShownUtf8(arrays[i], L"MaxCapacity"),
            ShownUtf8(arrays[i], L"MaxCapacityEx"), ShownUtf8(arrays[i], L"MemoryDevices")};
        EXPECT_EQ(expected[i], got) << i;
    }
}

TEST(FirmwareSmbiosTest, BiosDatesAndAcpiOemVersions) {
    const auto day = [](std::optional<std::time_t> when) {
        if (!when)
            return std::string("none");
        std::tm local{};
        localtime_r(&*when, &local);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
        return std::string(text);
    };
    EXPECT_EQ("2004-06-22 00:00", day(ParseBiosDate("06/22/2004")));
    EXPECT_EQ("1999-12-31 00:00", day(ParseBiosDate(" 12/31/99 ")));
    EXPECT_EQ("2005-01-15 00:00", day(ParseBiosDate("01/15/05")));
    for (const char* bad : {"", "2004-06-22", "13/01/2004", "02/30/2004", "6/22/2004",
                            "06/22/20040", "06/22/-004", "00/10/2004"})
        EXPECT_EQ("none", day(ParseBiosDate(bad))) << bad;

    std::string header(36, '\0');
    header.replace(0, 4, "FACP");
    header.replace(10, 6, "DELL  ");
    header.replace(24, 4, std::string("\x04\x20\x22\x06", 4));
    EXPECT_EQ(std::optional<std::string>("DELL   - 6222004"), AcpiOemVersion(header));
    header.replace(10, 6, std::string("VBOX\0\0", 6));
    header.replace(24, 4, std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(std::optional<std::string>("VBOX - 1"), AcpiOemVersion(header));
    EXPECT_EQ(std::nullopt, AcpiOemVersion(header.substr(0, 27)));
}

TEST(FirmwareSmbiosTest, ProvidersReadTheTableWhereSysfsIsSilent) {
    TempFolder folder;
    const auto& path = folder.path();
    std::string table = Bios() + System(0) + Baseboard();
    // A socket left empty, then a populated one whose counts need the wide fields.
    table += Structure(4, 0x30).Byte(0x18, 0x00).Word(0x14, 1000).Byte(0x23, 4).Bytes();
    table += Structure(4, 0x30)
                 .Byte(0x07, 1)
                 .Byte(0x10, 2)
                 .Word(0x14, 3000)
                 .Byte(0x18, 0x41)
                 .Byte(0x23, 0xFF)
                 .Word(0x2A, 128)
                 .Strings({"Ampere(R)", "Ampere(R)   Altra(R) Processor"})
                 .Bytes();
    table += EndOfTable();
    WriteFile(path / "sys/firmware/dmi/tables/DMI", table);
    WriteFile(path / "sys/class/dmi/id/bios_version", "A18 \n");
    WriteFile(path / "sys/class/dmi/id/product_serial", "\n");
    std::string fadt(36, '\0');
    fadt.replace(10, 6, "NWIND ");
    fadt[24] = 0x2A;
    WriteFile(path / "sys/firmware/acpi/tables/FACP", fadt);
    WriteFile(path / "proc/cpuinfo",
              "processor\t: 0\nCPU implementer\t: 0xc0\nCPU part\t: 0xac3\n\n"
              "processor\t: 1\nCPU implementer\t: 0xc0\nCPU part\t: 0xac3\n");
    const SystemRoot root = TreeRoot(path.string());

    const auto bioses = Bioses(root);
    ASSERT_EQ(1u, bioses.size());
    EXPECT_EQ("A18", ShownUtf8(bioses[0], L"Name")) << "sysfs answers first";
    EXPECT_EQ("A18", ShownUtf8(bioses[0], L"Description"));
    EXPECT_EQ("A18", ShownUtf8(bioses[0], L"SMBIOSBIOSVersion"));
    EXPECT_EQ("NWIND  - 2a", ShownUtf8(bioses[0], L"Version"));
    EXPECT_EQ("Northwind BIOS Ltd.", ShownUtf8(bioses[0], L"Manufacturer"));
    EXPECT_EQ("(null)", ShownUtf8(bioses[0], L"IdentificationCode"));
    EXPECT_EQ("SN-<42>\\\"'", ShownUtf8(bioses[0], L"SerialNumber")) << "a blank attribute";
    EXPECT_EQ("19991231000000.000000", ShownUtf8(bioses[0], L"ReleaseDate").substr(0, 21));

    // The system's maker string is missing: the baseboard's maker answers.
    const auto systems = ComputerSystems(root);
    ASSERT_EQ(1u, systems.size());
    EXPECT_EQ("Tailspin", ShownUtf8(systems[0], L"Manufacturer"));
    EXPECT_EQ("Tower 7", ShownUtf8(systems[0], L"Model"));

    const auto processors = Processors(root);
    ASSERT_EQ(1u, processors.size());
    EXPECT_EQ("Ampere(R) Altra(R) Processor", ShownUtf8(processors[0], L"Name"));
    EXPECT_EQ("128", ShownUtf8(processors[0], L"NumberOfCores"));
    EXPECT_EQ("3000", ShownUtf8(processors[0], L"MaxClockSpeed"));
    EXPECT_EQ("Ampere", ShownUtf8(processors[0], L"Manufacturer")) << "the implementer's name";
    EXPECT_EQ("2", ShownUtf8(processors[0], L"NumberOfLogicalProcessors"));

    EXPECT_TRUE(PhysicalMemories(root).empty());
    EXPECT_TRUE(PhysicalMemoryArrays(root).empty());
}

TEST(FirmwareSmbiosTest, NoTableNoObjects) {
    TempFolder folder;
    WriteFile(folder.path() / "sys/firmware/dmi/tables/DMI", std::string("\x11\xFF", 2));
    const SystemRoot root = TreeRoot(folder.path().string());
    EXPECT_TRUE(Bioses(root).empty());
    EXPECT_TRUE(PhysicalMemories(root).empty());
    EXPECT_TRUE(PhysicalMemoryArrays(root).empty());
    EXPECT_TRUE(Bioses(TreeRoot((folder.path() / "missing").string())).empty());
}

}  // namespace
