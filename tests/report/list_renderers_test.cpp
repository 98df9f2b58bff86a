// The list sections of the report: which items give rows, their texts, links and order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/search_text.h"
#include "report/web_addresses.h"
#include "report_under_test.h"

namespace {

using Items = std::vector<SessionItem>;

std::wstring Row(const std::wstring& text, int index) {
    return CInventoryReport::FormatSpanRow(text, index);
}

std::wstring Rows(const std::vector<std::wstring>& texts) {
    std::wstring rows;
    for (std::size_t i = 0; i < texts.size(); ++i)
        rows += Row(texts[i], static_cast<int>(i));
    return rows;
}

// A fixed address as an attribute value: its ampersands as character references.
std::wstring InAttribute(std::wstring address) {
    std::wstring out;
    for (wchar_t c : address)
        out += c == L'&' ? std::wstring(L"&amp;") : std::wstring(1, c);
    return out;
}

// An ampersand that starts no character reference would make the page invalid.
bool HasBareAmpersand(const std::wstring& html) {
    for (std::size_t at = html.find(L'&'); at != std::wstring::npos; at = html.find(L'&', at + 1)) {
        const std::size_t end = html.find(L';', at);
        if (end == std::wstring::npos || end - at > 8)
            return true;
        for (std::size_t i = at + 1; i < end; ++i) {
            if (!iswalnum(html[i]) && html[i] != L'#')
                return true;
        }
    }
    return false;
}

const wchar_t kIcon[] = L"<img src=\"inventory_files/externalLink.png\" border=\"0\"></a>";

class ListRenderers : public ::testing::Test {
  protected:
    ReportUnderTest model_;
    CInventoryReport& report_ = model_.report;
};

TEST_F(ListRenderers, ProcessesShowNameAndCommandLineAndSkipNamelessItems) {
    report_.RenderProcess({
        {{L"Name", L"a.exe"}, {L"CommandLine", L"a.exe /x"}},
        {{L"Name", L"b.exe"}},
        {{L"Name", L"c.exe"}, {L"CommandLine", L""}},
        {{L"CommandLine", L"orphan.exe"}},
        {{L"Name", L""}, {L"CommandLine", L"z"}},
    });
    EXPECT_EQ(report_.m_processList, Rows({L"a.exe (a.exe /x)", L"b.exe", L"c.exe", L" (z)"}));
    EXPECT_EQ(report_.m_processCount, L"4");

    report_.RenderProcess({});
    EXPECT_EQ(report_.m_processList, L"") << "a called renderer replaces the default";
    EXPECT_EQ(report_.m_processCount, L"0");
}

TEST_F(ListRenderers, HostileProcessTextLandsAsText) {
    report_.RenderProcess(
        {{{L"Name", L"evil<b>.exe"},
          {L"CommandLine", L"x \"<script>alert('@@__m_productName__@@')</script>\" & y"}}});
    EXPECT_EQ(report_.m_processList,
              Row(L"evil&lt;b&gt;.exe (x &quot;&lt;script&gt;alert(&#39;&#64;&#64;__m_productName__"
                  L"&#64;&#64;&#39;)&lt;/script&gt;&quot; &amp; y)",
                  0));
}

TEST_F(ListRenderers, AdaptersShowTheFirstAddressAndTheSummaryTakesTheFirstWithOne) {
    report_.RenderNetworkAdapterConfiguration({
        {{L"Description", L"Loopback"}, {L"MACAddress", L"AA"}, {L"DHCPEnabled", L"0"}},
        {{L"Description", L"Intel(R) PRO/1000 MT Network Connection"},
         {L"IPAddress", L"10.0.0.5\tfe80::1"},
         {L"MACAddress", L"00:0C:29:11:22:33"},
         {L"DHCPEnabled", L"-1"}},
        {{L"Description", L"Second <NIC>"}, {L"IPAddress", L"192.168.1.2"}, {L"MACAddress", L"CC"}},
    });
    const std::wstring expected =
        CInventoryReport::FormatLabelRow(L"1) Loopback:",
                                         L"[]&nbsp;[AA]&nbsp;[DHCP&nbsp;Disabled]&nbsp;", 0) +
        CInventoryReport::FormatLabelRow(
            L"2) Intel(R) PRO/1000 MT Network Connection:",
            L"[10.0.0.5]&nbsp;[00:0C:29:11:22:33]&nbsp;[DHCP&nbsp;Enabled]&nbsp;", 1) +
        CInventoryReport::FormatLabelRow(L"3) Second &lt;NIC&gt;:",
                                         L"[192.168.1.2]&nbsp;[CC]&nbsp;[DHCP&nbsp;unknown]&nbsp;",
                                         2);
    EXPECT_EQ(report_.m_networkAdapterConfigurationList, expected);
    EXPECT_EQ(report_.m_networkAdapterConfigurationCount, L"3");
    EXPECT_EQ(report_.m_IPAddress, L"10.0.0.5");
    EXPECT_EQ(report_.m_MACAddress, L"00:0C:29:11:22:33");
}

TEST_F(ListRenderers, AdapterSummaryTextsAreEscaped) {
    report_.RenderNetworkAdapterConfiguration(
        {{{L"IPAddress", L"<i>1.2.3.4"}, {L"MACAddress", L"\"@@__m_x__@@\""}}});
    EXPECT_EQ(report_.m_IPAddress, L"&lt;i&gt;1.2.3.4");
    EXPECT_EQ(report_.m_MACAddress, L"&quot;&#64;&#64;__m_x__&#64;&#64;&quot;");
}

TEST_F(ListRenderers, PrinterNameIsTheFirstNonEmptySource) {
    struct Case {
        SessionItem item;
        std::wstring shown;
    };
    const Case cases[] = {
        {{{L"DeviceID", L"Laser"}, {L"Caption", L"Cap"}, {L"Name", L"N"}}, L"Laser"},
        {{{L"DeviceID", L""}, {L"Caption", L"Cap"}, {L"Name", L"N"}}, L"Cap"},
        {{{L"Name", L"N"}, {L"DriverName", L"Drv"}}, L"N"},
        {{{L"ServerName", L"srv"}, {L"ShareName", L"laser"}, {L"DriverName", L"Drv"}},
         L"srv\\laser"},
        {{{L"ServerName", L"srv"}, {L"ShareName", L""}, {L"DriverName", L"Drv"}}, L"Drv"},
        {{{L"ShareName", L"laser"}}, L""},
        {{}, L""},
        {{{L"Name", L"A&B \"Office\""}}, L"A&amp;B &quot;Office&quot;"},
    };
    Items items;
    std::vector<std::wstring> expected;
    for (const Case& c : cases) {
        items.push_back(c.item);
        expected.push_back(std::to_wstring(expected.size() + 1) + L")&nbsp;&nbsp;" + c.shown);
    }
    report_.RenderPrinter(items);
    EXPECT_EQ(report_.m_printerList, Rows(expected));
    EXPECT_EQ(report_.m_printerCount, std::to_wstring(std::size(cases)));
}

TEST_F(ListRenderers, StartupListIsReplacedByAWarningAtTwoHundredItems) {
    Items items;
    std::vector<std::wstring> names;
    for (int i = 0; i < 198; ++i) {
        items.push_back({{L"Name", L"prog" + std::to_wstring(i)}});
        names.push_back(L"prog" + std::to_wstring(i));
    }
    items.push_back({{L"Command", L"nameless"}});
    ASSERT_EQ(items.size(), 199u);
    report_.RenderStartupCommand(items);
    EXPECT_EQ(report_.m_startupProgramsList, Rows(names));
    EXPECT_EQ(report_.m_startupProgramsCount, L"198");

    items.push_back({{L"Name", L"one too many"}});
    report_.RenderStartupCommand(items);
    const std::wstring& list = report_.m_startupProgramsList;
    EXPECT_EQ(report_.m_startupProgramsCount, L"0");
    EXPECT_EQ(list.find(L"prog0"), std::wstring::npos);
    EXPECT_EQ(list.rfind(L"<tr class=\"rowHighlightData\">", 0), 0u);
    EXPECT_EQ(list.find(L"<tr", 1), std::wstring::npos) << "a single row";
    EXPECT_NE(list.find(L"<span style=\"color:red\">Error retrieving startup programs because "
                        L"of WMI problem related to registry key. Hundreds of Startup Programs"),
              std::wstring::npos);
    EXPECT_NE(list.find(L"<a href=\"" + InAttribute(kWmiUtilityUrl) +
                        L"\" target=\"_blank\">WMI Diagnosis Utility</a> from Microsoft.</span>"),
              std::wstring::npos);
    EXPECT_FALSE(HasBareAmpersand(list));
}

TEST_F(ListRenderers, PatchTextsAndArticleLinks) {
    struct Case {
        std::wstring description, hotFixId, text, article;
    };
    const Case cases[] = {
        {L"Security Update for Windows XP (KB958644)", L"KB958644",
         L"Security Update for Windows XP (KB958644)", L"958644"},
        {L"Update", L"KB123456-x86", L"Update (KB123456-x86)", L"123456"},
        {L"Hotfix", L"Q147222", L"Hotfix (Q147222)", L""},
        {L"Fix", L"KB123", L"Fix (KB123)", L""},
        {L"Fix", L"KB12345", L"Fix (KB12345)", L"12345"},
        {L"Fix", L"KB1234567", L"Fix (KB1234567)", L"1234567"},
        {L"Fix", L"KB12345678", L"Fix (KB12345678)", L""},
        {L"Fix", L"KB1234567890", L"Fix (KB1234567890)", L""},
        {L"Fix", L"kb123456", L"Fix (kb123456)", L""},
        {L"Rollup KB2345678 for x86", L"", L"Rollup KB2345678 for x86", L"2345678"},
        {L"Package KB99999x", L"SP1", L"Package KB99999x (SP1)", L"99999"},
        {L"Update for Media Player (beta)", L"KB555555", L"Update for Media Player (beta)",
         L"555555"},
        {L"Update for KB777777", L"Q1", L"Update for KB777777 (Q1)", L"777777"},
        {L"<img src=x onerror=alert(1)> KB123456", L"Q9",
         L"&lt;img src=x onerror=alert(1)&gt; KB123456 (Q9)", L"123456"},
    };
    for (const Case& c : cases) {
        report_.RenderQuickFixEngineering(
            {{{L"Description", c.description}, {L"HotFixId", c.hotFixId}}});
        std::wstring text = c.text;
        if (!c.article.empty()) {
            text += L"<a href=\"" + InAttribute(kKnowledgeBaseArticleUrl) + c.article +
                    L"\" target=\"_blank\" title=\"Microsoft Support\">" + kIcon;
        }
        EXPECT_EQ(report_.m_patchList, Row(text, 0)) << c.description << " / " << c.hotFixId;
        EXPECT_EQ(report_.m_patchCount, L"1");
    }
}

TEST_F(ListRenderers, PatchesWithoutDescriptionAreLeftOut) {
    report_.RenderQuickFixEngineering({
        {{L"HotFixId", L"KB111111"}},
        {{L"Description", L"A"}},
        {{L"Description", L""}, {L"HotFixId", L"KB222222"}},
        {{L"Description", L"B"}, {L"HotFixId", L""}},
    });
    EXPECT_EQ(report_.m_patchList, Rows({L"A", L"B"}));
    EXPECT_EQ(report_.m_patchCount, L"2");
}

TEST_F(ListRenderers, InstalledProgramsSortByLowerCaseNameInUtf16Order) {
    report_.RenderInstalledPrograms(
        {
            {{L"DisplayName", L"beta"}, {L"DisplayVersion", L"2.0"}},
            {{L"DisplayVersion", L"9"}},
            {{L"DisplayName", L"Zeta"}},
            {{L"DisplayName", L"\U0001F600 Smile"}},
            {{L"DisplayName", L""}, {L"DisplayVersion", L"1"}},
        },
        {
            {{L"DisplayName", L"\uFF21 Wide"}},
            {{L"DisplayName", L"Alpha"}, {L"DisplayVersion", L""}},
            {{L"DisplayName", L"_under"}},
        });
    // "_" lies between the upper- and lower-case letters; a surrogate pair sorts below U+FF21.
    const wchar_t* const order[] = {L"_under",           L"Alpha",      L"beta (2.0)", L"Zeta",
                                    L"\U0001F600 Smile", L"\uFF21 Wide"};
    std::size_t from = 0;
    for (const wchar_t* shown : order) {
        const std::size_t at = report_.m_installedProgramsList.find(L"<td colspan=\"2\">" +
                                                                    std::wstring(shown) + L"<a");
        ASSERT_NE(at, std::wstring::npos) << shown;
        EXPECT_GT(at, from) << shown;
        from = at;
    }
    EXPECT_EQ(report_.m_installedProgramsCount, L"6") << "entries without a name are left out";
}

TEST_F(ListRenderers, InstalledProgramRowCarriesBothSearchLinks) {
    report_.RenderInstalledPrograms(
        {{{L"DisplayName", L"AT&T Dialer 2.0"}, {L"DisplayVersion", L"<2>"}}}, {});
    const std::wstring q = L"AT%26T+Dialer+2.0";
    const std::wstring text =
        L"AT&amp;T Dialer 2.0 (&lt;2&gt;)"
        L"<a href=\"" +
        InAttribute(kWebSearchUrl) + q +
        L"+support&amp;btnI=745\" target=\"_blank\" title=\"Google Search\">" + kIcon +
        L"<a href=\"" + InAttribute(kSoftwareSearchUrl) + q +
        L"&amp;sa.x=8&amp;sa.y=15&amp;sa=Submit\" target=\"_blank\" title=\"Quillet Search\">" +
        kIcon;
    EXPECT_EQ(report_.m_installedProgramsList, Row(text, 0));
    EXPECT_EQ(report_.m_installedProgramsCount, L"1");
    EXPECT_FALSE(HasBareAmpersand(report_.m_installedProgramsList));
}

TEST_F(ListRenderers, HostileProgramNameCannotLeaveTheLinkAttribute) {
    report_.RenderInstalledPrograms(
        {{{L"DisplayName", L"x\" onmouseover='alert(1)' a=b @@__m_productName__@@"}}}, {});
    const std::wstring& list = report_.m_installedProgramsList;
    EXPECT_EQ(list.find(L"onmouseover='"), std::wstring::npos);
    EXPECT_EQ(list.find(L"@"), std::wstring::npos);
    EXPECT_NE(
        list.find(L"x%22+onmouseover%3D%27alert(1)%27+a%3Db+%40%40__m_productName__%40%40+support"),
        std::wstring::npos);
    EXPECT_FALSE(HasBareAmpersand(list));
}

TEST(EncodeSearchText, EncodesInOrderWithBlanksLast) {
    struct Case {
        std::wstring text, encoded;
    };
    const Case cases[] = {
        {L"AT&T Dialer 2.0", L"AT%26T+Dialer+2.0"},
        {L"100%20off", L"100%2520off"},
        {L";?/:#&=+$,<>~{}|\\^`[]",
         L"%3B%3F%2F%3A%23%26%3D%2B%24%2C%3C%3E%7E%7B%7D%7C%5C%5E%60%5B%5D"},
        {L"a+b c", L"a%2Bb+c"},
        {L"Say \"hi\" it's @home", L"Say+%22hi%22+it%27s+%40home"},
        {L"@@__m_productName__@@", L"%40%40__m_productName__%40%40"},
        {L"\u00DCbersicht (x64) *!", L"\u00DCbersicht+(x64)+*!"},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeSearchText(c.text), c.encoded) << c.text;
}

TEST_F(ListRenderers, ServicesKeepTheirOrderAndNeedADisplayName) {
    report_.RenderServices({
        {{L"DisplayName", L"Zeta Service"}},
        {{L"Name", L"noDisplay"}},
        {{L"DisplayName", L""}},
        {{L"DisplayName", L"Alpha <Service>"}},
    });
    EXPECT_EQ(report_.m_servicesList, Rows({L"Zeta Service", L"Alpha &lt;Service&gt;"}));
    EXPECT_EQ(report_.m_servicesCount, L"2");
}

TEST_F(ListRenderers, ComponentsAreNamedAndSortedCaseSensitively) {
    report_.RenderComponents({
        {{L"Name", L"IIS_WWW"}},
        {{L"Name", L"apple"}},
        {{L"Name", L"TelnetClient"}},
        {{L"Name", L""}},
        {{L"Caption", L"nameless"}},
        {{L"Name", L"Zebra"}},
        {{L"Name", L" calc "}},
        {{L"Name", L"fp_extensions"}},
        {{L"Name", L"calc"}},
    });
    EXPECT_EQ(report_.m_componentsList,
              Rows({L" calc ", L"Calculator (calc)",
                    L"Microsoft FrontPage&reg; server extensions (fp_extensions)", L"TelnetClient",
                    L"World Wide Web (WWW) service (IIS_WWW)", L"Zebra", L"apple"}));
    EXPECT_EQ(report_.m_componentsCount, L"7");

    report_.RenderComponents({{{L"Name", L""}}});
    EXPECT_EQ(report_.m_componentsList, L"");
    EXPECT_EQ(report_.m_componentsCount, L"0");
}

TEST_F(ListRenderers, EscapedComponentIdsKeepThePlainTextOrder) {
    // As plain text "<" sorts before ">"; escaped, "&gt;" would sort before "&lt;".
    report_.RenderComponents({{{L"Name", L"Feature>1"}}, {{L"Name", L"Feature<1"}}});
    EXPECT_EQ(report_.m_componentsList, Rows({L"Feature&lt;1", L"Feature&gt;1"}));
}

TEST_F(ListRenderers, SubcomponentsNeedTwoInstalledOnesForASection) {
    struct Case {
        const char* what;
        Items items;
        std::vector<std::wstring> rows;  // empty: the section is disabled
    };
    const Case cases[] = {
        {"no values", {}, {}},
        {"one installed",
         {{{L"Name", L"calc"}, {L"Value", L"1"}},
          {{L"Name", L"paint"}, {L"Value", L"0"}},
          {{L"Name", L"vol"}, {L"Value", L"01"}},
          {{L"Name", L""}, {L"Value", L"1"}}},
         {}},
        {"three installed",
         {{{L"Name", L"vol"}, {L"Value", L"1"}},
          {{L"Name", L"paint"}, {L"Value", L"0"}},
          {{L"Name", L"CALC"}, {L"Value", L"1"}},
          {{L"Name", L"my<id>"}, {L"Value", L"1"}},
          {{L"Value", L"1"}}},
         {L"Calculator (CALC)", L"Volume Control (vol)", L"my&lt;id&gt;"}},
    };
    for (const Case& c : cases) {
        ReportUnderTest model;
        CInventoryReport& report = model.report;
        const std::wstring defaultList = report.m_componentsList;
        const std::wstring defaultCount = report.m_componentsCount;
        report.RenderSubcomponents(c.items);
        if (c.rows.empty()) {
            EXPECT_EQ(report.m_componentsDisableStart, L"<!-- Component/Feature Disabled")
                << c.what;
            EXPECT_EQ(report.m_componentsDisableEnd, L"-->") << c.what;
            EXPECT_EQ(report.m_componentsList, defaultList) << c.what;
            EXPECT_EQ(report.m_componentsCount, defaultCount) << c.what;
        } else {
            EXPECT_EQ(report.m_componentsDisableStart, L"") << c.what;
            EXPECT_EQ(report.m_componentsDisableEnd, L"") << c.what;
            EXPECT_EQ(report.m_componentsList, Rows(c.rows)) << c.what;
            EXPECT_EQ(report.m_componentsCount, std::to_wstring(c.rows.size())) << c.what;
        }
    }
}

}  // namespace
