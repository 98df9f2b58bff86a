// Readable names of optional components: the catalogue's keys and the lookup rules.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "report_under_test.h"

namespace {

const wchar_t* const kAllKeys[] = {
    L"accessopt",
    L"accessutil",
    L"appsrv_console",
    L"aspnet",
    L"authman",
    L"autoupdate",
    L"beacon",
    L"bitsserverextensionsisapi",
    L"bitsserverextensionsmanager",
    L"calc",
    L"certsrv_client",
    L"certsrv_server",
    L"charmap",
    L"chat",
    L"clipbook",
    L"cluster",
    L"com",
    L"commapps",
    L"complusnetwork",
    L"deskpaper",
    L"dhcphelper",
    L"dhcpserver",
    L"dialer",
    L"display",
    L"dns",
    L"dtc",
    L"dtcnetwork",
    L"fax",
    L"fp_extensions",
    L"freecell",
    L"freestyle",
    L"games",
    L"hearts",
    L"hypertrm",
    L"ias",
    L"icfv6",
    L"ieaccess",
    L"iehardenadmin",
    L"iehardenuser",
    L"iis_asp",
    L"iis_common",
    L"iis_doc",
    L"iis_ftp",
    L"iis_inetmgr",
    L"iis_internetdataconnector",
    L"iis_nntp",
    L"iis_serversideincludes",
    L"iis_smtp",
    L"iis_webdav",
    L"iis_www",
    L"iis_www_parent",
    L"iis_www_vdir_printers",
    L"iis_www_vdir_scripts",
    L"ims",
    L"indexsrv_system",
    L"inetprint",
    L"ins",
    L"iprip",
    L"licenseserver",
    L"lpdsvc",
    L"macprint",
    L"macsrv",
    L"media_clips",
    L"media_utopia",
    L"minesweeper",
    L"mousepoint",
    L"mplay",
    L"msmq",
    L"msmq_adintegrated",
    L"msmq_common",
    L"msmq_core",
    L"msmq_httpsupport",
    L"msmq_localstorage",
    L"msmq_mqdsservice",
    L"msmq_routingsupport",
    L"msmq_triggersservice",
    L"msmsgs",
    L"msnexplr",
    L"mswordpad",
    L"multim",
    L"netcis",
    L"netcm",
    L"netcmak",
    L"netcps",
    L"netfx",
    L"netmontools",
    L"netoc",
    L"notebook",
    L"ntcomponents",
    L"oeaccess",
    L"oobe",
    L"p2p",
    L"paint",
    L"pinball",
    L"pop3admin",
    L"pop3service",
    L"rec",
    L"reminst",
    L"rootautoupdate",
    L"rstorage",
    L"sakit_web",
    L"simptcp",
    L"snmp",
    L"solitaire",
    L"spider",
    L"stickynotes",
    L"system",
    L"tabletpc",
    L"templates",
    L"terminalserver",
    L"tpg",
    L"tswebclient",
    L"uddiadmin",
    L"uddidatabase",
    L"uddiservices",
    L"uddiweb",
    L"upnp",
    L"vol",
    L"wbem",
    L"wbemcrrl",
    L"wbemfwrd",
    L"wbemmsi",
    L"wbemsnmp",
    L"wins",
    L"wmaccess",
    L"wmpocm",
    L"wms_admin_asp",
    L"wms_admin_mmc",
    L"wms_isapi",
    L"wms_server",
    L"wms_svrtyplib",
    L"zonegames",
};

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

class ComponentCatalogue : public ::testing::Test {
  protected:
    // The description alone, or empty when the id is not a key.
    std::wstring Description(const std::wstring& id) {
        const std::wstring shown = model_.report.DescribeComponent(id);
        const std::wstring suffix = L" (" + id + L")";
        if (shown.size() <= suffix.size() ||
            shown.compare(shown.size() - suffix.size(), suffix.size(), suffix) != 0)
            return L"";
        return shown.substr(0, shown.size() - suffix.size());
    }

    ReportUnderTest model_;
};

TEST_F(ComponentCatalogue, EveryKeyIsFoundInAnyCase) {
    ASSERT_EQ(std::size(kAllKeys), 132u);
    std::set<std::wstring> descriptions;
    for (const wchar_t* key : kAllKeys) {
        const std::wstring description = Description(key);
        EXPECT_FALSE(description.empty()) << key;
        EXPECT_EQ(Description(Upper(key)), description) << key;
        EXPECT_EQ(description.find_first_of(L"<>\""), std::wstring::npos) << key;
        descriptions.insert(description);
    }
    // A few setup components share their feature's name; most must be told apart.
    EXPECT_GT(descriptions.size(), 125u);
}

TEST_F(ComponentCatalogue, GivenDescriptionsAreExact) {
    struct Case {
        const wchar_t* key;
        const wchar_t* description;
    };
    const Case cases[] = {
        {L"accessopt", L"Accessibility wizard"},
        {L"bitsserverextensionsisapi",
         L"Internet Server Application Programming Interface (ISAPI) for Background Intelligent "
         L"Transfer Service (BITS) server extensions"},
        {L"com", L"COM+"},
        {L"fp_extensions", L"Microsoft FrontPage&reg; server extensions"},
        {L"freestyle", L"Media Center"},
        {L"iis_www_parent", L"IIS World Wide Web Service"},
        {L"ims", L"IIS SMTP Service"},
        {L"ins", L"IIS NNTP Service"},
        {L"msmq_localstorage", L"Message Queuing  Local Storage"},
        {L"netcis", L"Microsoft Component Object Model (COM) Internet Services"},
        {L"netmontools", L"Network Monitor tools"},
        {L"netoc", L"Management and Monitoring Tools"},
        {L"oobe", L"Activate Windows"},
        {L"paint", L"Paint"},
        {L"rec", L"Sound Recorder"},
        {L"tpg", L"TPG"},
        {L"vol", L"Volume Control"},
        {L"wbem", L"WMI"},
        {L"zonegames", L"Internet Games"},
        {L"iis_www", L"World Wide Web (WWW) service"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Description(c.key), c.description) << c.key;
}

TEST_F(ComponentCatalogue, OtherDescriptionsFollowTheStyle) {
    for (const wchar_t* game :
         {L"freecell", L"hearts", L"minesweeper", L"pinball", L"solitaire", L"spider"}) {
        const std::wstring description = Description(game);
        EXPECT_EQ(description.substr(description.size() - 5), L" game") << game;
    }
    struct Case {
        const wchar_t* key;
        const wchar_t* abbreviation;
    };
    const Case cases[] = {
        {L"dhcpserver", L"(DHCP)"},   {L"dns", L"(DNS)"},           {L"iis_ftp", L"(FTP)"},
        {L"wms_admin_mmc", L"(MMC)"}, {L"iis_nntp", L"(NNTP)"},     {L"iis_smtp", L"(SMTP)"},
        {L"snmp", L"(SNMP)"},         {L"uddiservices", L"(UDDI)"}, {L"wins", L"(WINS)"},
    };
    for (const Case& c : cases) {
        const std::wstring description = Description(c.key);
        const std::size_t at = description.find(c.abbreviation);
        ASSERT_NE(at, std::wstring::npos) << c.key;
        EXPECT_GT(at, 0u) << c.key << ": the spelled-out name comes first";
    }
}

TEST_F(ComponentCatalogue, LookupFoldsAsciiCaseAndShowsTheIdAsPassed) {
    struct Case {
        std::wstring id, shown;
    };
    const Case cases[] = {
        {L"IIS_WWW", L"World Wide Web (WWW) service (IIS_WWW)"},
        {L"Iis_Www", L"World Wide Web (WWW) service (Iis_Www)"},
        {L"calc", L"Calculator (calc)"},
        {L"TelnetClient", L"TelnetClient"},
        {L" calc", L" calc"},
        {L"calc ", L"calc "},
        {L"", L""},
        // Inventory text: escaped, also where a placeholder could form.
        {L"<b>calc", L"&lt;b&gt;calc"},
        {L"@@__m_productName__@@", L"&#64;&#64;__m_productName__&#64;&#64;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(model_.report.DescribeComponent(c.id), c.shown) << c.id;
}

}  // namespace
