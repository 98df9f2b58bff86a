#include "collect/wmi_session.h"

#include "collect/adapter_memory.h"
#include "platform/services.h"
#include "platform/wql.h"
#include "util/numbers.h"
#include "util/text.h"

using platform::WmiValue;

CWmiSession::~CWmiSession() {
    Disconnect();
}

int CWmiSession::Connect() {
    if (platform::GetWmi().Connect() != 0)
        return 1;
    m_connected = true;
    return 0;
}

void CWmiSession::Disconnect() {
    if (!m_connected)
        return;
    m_objects.reset();
    m_fetched = 0;
    platform::GetWmi().Disconnect();
    m_connected = false;
}

unsigned CWmiSession::StartQuery(const std::wstring& text) {
    m_objects.reset();
    m_fetched = 0;
    if (!m_connected)
        return 0;
    const auto statement = platform::SplitNamespace(text);
    m_objects = platform::IsDefaultNamespace(statement.nameSpace)
                    ? platform::GetWmi().ExecQuery(statement.wql)
                    : platform::GetWmi().ExecQueryIn(statement.nameSpace, statement.wql);
    return MoveNext();
}

unsigned CWmiSession::MoveNext() {
    m_fetched = (m_objects && m_objects->Next()) ? 1 : 0;
    return m_fetched;
}

std::wstring CWmiSession::GetProperty(const std::wstring& name) {
    if (AtEnd() || !m_objects)
        return {};
    WmiValue value;
    if (!m_objects->Get(name, value))
        return {};
    return WmiValueToText(value);
}

namespace {

std::wstring ScalarText(const WmiValue& value) {
    switch (value.kind) {
        case WmiValue::Kind::Int16:
        case WmiValue::Kind::Int32:
        case WmiValue::Kind::UInt32:
            return std::to_wstring(value.number);
        case WmiValue::Kind::String:
            return value.text;
        case WmiValue::Kind::Boolean:
            return value.boolean ? L"-1" : L"0";
        default:
            return {};
    }
}

}  // namespace

std::wstring WmiValueToText(const WmiValue& value) {
    if (!value.isArray)
        return ScalarText(value);
    std::wstring text;
    for (std::size_t i = 0; i < value.elements.size(); ++i) {
        if (i > 0)
            text += L'\t';
        text += ScalarText(value.elements[i]);
    }
    return text;
}

int CollectWmi(CWmiSession& session, const QueryDefinition& query, const RowSink& store) {
    std::wstring statement = query.query;
    if (statement.find(L"@@user@@") != std::wstring::npos)
        ReplaceAll(statement, L"@@user@@", platform::WqlStringText(platform::GetHost().UserName()));
    session.StartQuery(statement);
    for (int i = 0; !session.AtEnd() && (query.maxRows < 1 || i < query.maxRows); ++i) {
        ResultRow row;
        for (const auto& field : query.fields)
            row[field.exportName] = session.GetProperty(field.name);
        PreferRegisteredAdapterMemory(query, row);
        store(query, row);
        session.MoveNext();
    }
    return 0;
}
