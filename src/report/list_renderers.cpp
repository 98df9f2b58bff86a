// The list sections: one renderer per query, each replacing its list and count whole.
#include <algorithm>
#include <array>
#include <set>
#include <string_view>
#include <utility>

#include "report/html_text.h"
#include "report/inventory_report.h"
#include "report/linux_texts.h"
#include "report/search_text.h"
#include "report/session_fields.h"
#include "report/web_addresses.h"
#include "util/numbers.h"
#include "util/text.h"
#include "util/utf.h"

namespace {

// The startup query stops at this many rows; reaching it means WMI reports bogus entries.
constexpr std::size_t kStartupRowLimit = 200;

// A row for each item with text in the field: the text escaped, or what `describe` makes of the
// item; the rows and their count into the model.
void ListFieldRows(const std::vector<SessionItem>& items, const wchar_t* name, std::wstring& list,
                   std::wstring& count,
                   std::wstring (*describe)(const SessionItem& item) = nullptr) {
    std::wstring rows;
    int row = 0;
    for (const SessionItem& item : items) {
        if (HasText(item, name))
            CInventoryReport::AppendSpanRow(
                rows, describe ? describe(item) : HtmlText(*FindField(item, name)), row++);
    }
    list = rows;
    count = IntToText(row);
}

// A fixed address as the value of an href attribute.
std::wstring HrefText(const std::wstring& address) {
    std::wstring text = address;
    ReplaceAll(text, L"&", L"&amp;");
    return text;
}

// The knowledge-base article number of a patch: digits only, or text no link is made for.
std::wstring ArticleNumber(const std::wstring& description, const std::wstring& hotFixId) {
    std::wstring rest;
    if (hotFixId.rfind(L"KB", 0) == 0) {
        rest = hotFixId.substr(2);
    } else if (auto kb = description.find(L"KB"); kb != std::wstring::npos) {
        rest = description.substr(kb + 2);
    }
    const std::size_t looked = std::min<std::size_t>(rest.size(), 8);
    for (std::size_t i = 0; i < looked; ++i) {
        if (rest[i] < L'0' || rest[i] > L'9')
            return rest.substr(0, i);
    }
    return rest;
}

// A component's text for the page, and the unescaped text it sorts by, so that escaping an id
// cannot change the order of the rows.
struct ComponentText {
    std::u16string order;
    std::wstring html;
};

ComponentText DescribeForList(const CInventoryReport& report,
                              const std::map<std::wstring, std::wstring>& names,
                              const std::wstring& id) {
    auto found = names.find(ToLower(id));
    std::wstring plain = found == names.end() ? id : found->second + L" (" + id + L")";
    return {ToUtf16(plain), report.DescribeComponent(id)};
}

std::wstring SortedComponentRows(std::vector<ComponentText> texts) {
    std::stable_sort(
        texts.begin(), texts.end(),
        [](const ComponentText& a, const ComponentText& b) { return a.order < b.order; });
    std::wstring list;
    int row = 0;
    for (const ComponentText& text : texts)
        CInventoryReport::AppendSpanRow(list, text.html, row++);
    return list;
}

// What makes two uninstall entries the same program. An entry without a name is never shown,
// so whether such entries merge does not matter. Views of the items' own texts.
using ProgramIdentity = std::array<std::wstring_view, 5>;

ProgramIdentity IdentityOf(const SessionItem& item) {
    ProgramIdentity identity;
    std::size_t i = 0;
    for (const wchar_t* field :
         {L"DisplayName", L"DisplayVersion", L"Publisher", L"UserName", L"PackageSource"}) {
        const std::wstring* text = FindField(item, field);
        identity[i++] = text ? std::wstring_view(*text) : std::wstring_view();
    }
    return identity;
}

}  // namespace

std::wstring EncodeSearchText(const std::wstring& text) {
    // No replacement holds a character that another one replaces ("%" and "+" are taken
    // before any replacement makes them), so one pass gives what replacing each in turn would.
    static constexpr CharEscape kReplacements[] = {
        {U'%', L"%25"}, {U';', L"%3B"}, {U'?', L"%3F"},  {U'/', L"%2F"},  {U':', L"%3A"},
        {U'#', L"%23"}, {U'&', L"%26"}, {U'=', L"%3D"},  {U'+', L"%2B"},  {U'$', L"%24"},
        {U',', L"%2C"}, {U'<', L"%3C"}, {U'>', L"%3E"},  {U'~', L"%7E"},  {U'{', L"%7B"},
        {U'}', L"%7D"}, {U'|', L"%7C"}, {U'\\', L"%5C"}, {U'^', L"%5E"},  {U'`', L"%60"},
        {U'[', L"%5B"}, {U']', L"%5D"}, {U'"', L"%22"},  {U'\'', L"%27"}, {U'@', L"%40"},
        {U' ', L"+"},
    };
    std::wstring encoded;
    encoded.reserve(text.size());
    for (wchar_t c : text) {
        if (const wchar_t* replacement = FindEscape(kReplacements, static_cast<char32_t>(c)))
            encoded += replacement;
        else
            encoded += c;
    }
    return encoded;
}

void CInventoryReport::RenderProcess(const std::vector<SessionItem>& items) {
    std::wstring list;
    int rows = 0;
    for (const SessionItem& item : items) {
        const std::wstring* name = FindField(item, L"Name");
        if (!name)
            continue;
        std::wstring text = HtmlText(*name);
        if (HasText(item, L"CommandLine"))
            text += L" (" + HtmlText(FieldText(item, L"CommandLine")) + L")";
        AppendSpanRow(list, text, rows++);
    }
    m_processList = list;
    m_processCount = IntToText(rows);
}

void CInventoryReport::RenderNetworkAdapterConfiguration(const std::vector<SessionItem>& items) {
    std::wstring list;
    int i = 0;
    for (const SessionItem& item : items) {
        const std::wstring dhcp = FieldText(item, L"DHCPEnabled");
        const std::wstring description = FieldText(item, L"Description");
        const std::wstring mac = FieldText(item, L"MACAddress");
        const std::wstring addresses = FieldText(item, L"IPAddress");
        const std::vector<std::wstring> pieces = Split(addresses, L'\t');
        const std::wstring first = pieces.size() >= 2 ? pieces.front() : addresses;
        if (m_IPAddress.empty()) {
            m_IPAddress = HtmlText(first);
            m_MACAddress = HtmlText(mac);
        }
        const std::wstring label = IntToText(i + 1) + L") " + HtmlText(description) + L":";
        const std::wstring value = L"[" + HtmlText(first) +
                                   (m_linuxMode ? FirstPrefixText(item) : L"") + L"]&nbsp;[" +
                                   HtmlText(mac) + L"]&nbsp;[" +
                                   (dhcp.empty()           ? L"DHCP&nbsp;unknown"
                                    : TextToInt(dhcp) != 0 ? L"DHCP&nbsp;Enabled"
                                                           : L"DHCP&nbsp;Disabled") +
                                   L"]&nbsp;" + (m_linuxMode ? NetworkDetailsText(item) : L"");
        list += FormatLabelRow(label, value, i);
        ++i;
    }
    m_networkAdapterConfigurationList = list;
    m_networkAdapterConfigurationCount = IntToText(i);
}

void CInventoryReport::RenderPrinter(const std::vector<SessionItem>& items) {
    std::wstring list;
    int i = 0;
    for (const SessionItem& item : items) {
        std::wstring name;
        for (const wchar_t* field : {L"DeviceID", L"Caption", L"Name"}) {
            if (name.empty())
                name = FieldText(item, field);
        }
        if (name.empty() && HasText(item, L"ServerName") && HasText(item, L"ShareName"))
            name = FieldText(item, L"ServerName") + L"\\" + FieldText(item, L"ShareName");
        if (name.empty())
            name = FieldText(item, L"DriverName");
        list += FormatSpanRow(IntToText(i + 1) + L")&nbsp;&nbsp;" + HtmlText(name), i);
        ++i;
    }
    m_printerList = list;
    m_printerCount = IntToText(i);
}

void CInventoryReport::RenderStartupCommand(const std::vector<SessionItem>& items) {
    if (items.size() >= kStartupRowLimit) {
        const std::wstring message =
            L"<span style=\"color:red\">Error retrieving startup programs because of WMI "
            L"problem related to registry key. Hundreds of Startup Programs are erroneously "
            L"being reported. Startup Programs list has been truncated. You should diagnose "
            L"and repair your WMI problem using the <a href=\"" +
            HrefText(kWmiUtilityUrl) +
            L"\" target=\"_blank\">WMI Diagnosis Utility</a> from Microsoft.</span>";
        m_startupProgramsList = FormatSpanRow(message, 0);
        m_startupProgramsCount = L"0";
        return;
    }
    ListFieldRows(items, L"Name", m_startupProgramsList, m_startupProgramsCount);
}

void CInventoryReport::RenderQuickFixEngineering(const std::vector<SessionItem>& items) {
    std::wstring list;
    int rows = 0;
    for (const SessionItem& item : items) {
        if (!HasText(item, L"Description"))
            continue;
        const std::wstring description = FieldText(item, L"Description");
        const std::wstring hotFixId = FieldText(item, L"HotFixId");
        std::wstring text = HtmlText(description);
        if (!hotFixId.empty() && description.find(hotFixId) == std::wstring::npos &&
            description.back() != L')') {
            text += L" (" + HtmlText(hotFixId) + L")";
        }
        const std::wstring number = ArticleNumber(description, hotFixId);
        if (number.size() >= 5 && number.size() <= 7) {
            text += L"<a href=\"" + HrefText(kKnowledgeBaseArticleUrl) + number +
                    L"\" target=\"_blank\" title=\"Microsoft Support\"><img src=\"" +
                    m_inventoryFilesPath + L"externalLink.png\" border=\"0\"></a>";
        }
        AppendSpanRow(list, text, rows++);
    }
    m_patchList = list;
    m_patchCount = IntToText(rows);
}

void CInventoryReport::RenderInstalledPrograms(const std::vector<SessionItem>& items32,
                                               const std::vector<SessionItem>& items64,
                                               const std::vector<SessionItem>& itemsOfUsers) {
    std::vector<std::pair<std::u16string, const SessionItem*>> sorted;
    sorted.reserve(items32.size() + items64.size() + itemsOfUsers.size());
    // A program registered in both registry views is one program.
    std::set<ProgramIdentity> seen;
    for (const auto* list : {&items32, &items64, &itemsOfUsers}) {
        for (const SessionItem& item : *list) {
            if (!seen.insert(IdentityOf(item)).second)
                continue;
            sorted.emplace_back(ToUtf16(ToLower(FieldText(item, L"DisplayName"))), &item);
        }
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    const std::wstring webSearch = HrefText(kWebSearchUrl);
    const std::wstring softwareSearch = HrefText(kSoftwareSearchUrl);
    const std::wstring icon =
        L"<img src=\"" + m_inventoryFilesPath + L"externalLink.png\" border=\"0\"></a>";
    std::wstring list;
    std::wstring text;  // one row's, its buffer kept from row to row
    int rows = 0;
    for (const auto& [key, item] : sorted) {
        if (!HasText(*item, L"DisplayName"))
            continue;
        const std::wstring& name = *FindField(*item, L"DisplayName");
        text.clear();
        AppendHtmlText(text, name);
        if (HasText(*item, L"DisplayVersion")) {
            text += L" (";
            AppendHtmlText(text, *FindField(*item, L"DisplayVersion"));
            text += L")";
        }
        text += PackageSourceText(*item);
        if (HasText(*item, L"UserName")) {
            text += L" [for user ";
            AppendHtmlText(text, *FindField(*item, L"UserName"));
            text += L"]";
        }
        // The encoded query holds no character that is special in an attribute.
        const std::wstring q = EncodeSearchText(name);
        text += L"<a href=\"";
        text += webSearch;
        text += q;
        text += L"+support&amp;btnI=745\" target=\"_blank\" title=\"Google Search\">";
        text += icon;
        text += L"<a href=\"";
        text += softwareSearch;
        text += q;
        text +=
            L"&amp;sa.x=8&amp;sa.y=15&amp;sa=Submit\" target=\"_blank\" title=\"Quillet Search\">";
        text += icon;
        AppendSpanRow(list, text, rows++);
    }
    m_installedProgramsList = list;
    m_installedProgramsCount = IntToText(rows);
}

void CInventoryReport::RenderServices(const std::vector<SessionItem>& items) {
    ListFieldRows(items, L"DisplayName", m_servicesList, m_servicesCount,
                  m_linuxMode ? ServiceStateText : nullptr);
}

void CInventoryReport::RenderComponents(const std::vector<SessionItem>& items) {
    std::vector<ComponentText> texts;
    for (const SessionItem& item : items) {
        if (HasText(item, L"Name"))
            texts.push_back(DescribeForList(*this, m_componentNames, FieldText(item, L"Name")));
    }
    m_componentsCount = IntToText(static_cast<int>(texts.size()));
    m_componentsList = SortedComponentRows(std::move(texts));
}

void CInventoryReport::RenderSubcomponents(const std::vector<SessionItem>& items) {
    std::vector<ComponentText> texts;
    for (const SessionItem& item : items) {
        if (HasText(item, L"Name") && FieldText(item, L"Value") == L"1")
            texts.push_back(DescribeForList(*this, m_componentNames, FieldText(item, L"Name")));
    }
    // One lone component is not worth a section.
    if (texts.size() < 2) {
        m_componentsDisableStart = L"<!-- Component/Feature Disabled";
        m_componentsDisableEnd = L"-->";
        return;
    }
    m_componentsCount = IntToText(static_cast<int>(texts.size()));
    m_componentsList = SortedComponentRows(std::move(texts));
}
