#include "tests/support/ScoreTestServer.h"

#include <md5.h>

#include <cstdio>
#include <regex>

#include "base/WideString.h"
#include "tests/support/PercentDecode.h"

namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

const char* const kPlatforms[] = {"WIN32", "MACOS", "LINUX", "IPHONE", "IPAD", "ANDROID", "FLASHAS3",
                                  "XBOX360", "PS3", "WII", "WINCE", "S60", "PSP"};

// The query's pairs in order, values decoded; false when a pair has no '=' or a bad escape.
bool SplitQuery(const std::string& query, Values& values)
{
    size_t start = 0;
    while (start <= query.size()) {
        size_t end = query.find('&', start);
        std::string pair = query.substr(start, end == std::string::npos ? std::string::npos : end - start);
        size_t equals = pair.find('=');
        std::string value;
        if (equals == std::string::npos || !PercentDecode(pair.substr(equals + 1), &value))
            return false;
        values.emplace_back(pair.substr(0, equals), value);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}

std::string Md5Hex(const std::string& bytes)
{
    MD5_CTX context;
    MD5Init(&context);
    MD5Update(&context, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    unsigned char digest[MD5_DIGEST_LENGTH];
    MD5Final(digest, &context);
    std::string hex;
    char pair[3];
    for (unsigned char byte : digest) {
        snprintf(pair, sizeof(pair), "%02x", byte);
        hex += pair;
    }
    return hex;
}

// The crc a client should send: "JRM" and the text's UTF-16 units narrowed to their low bytes.
std::string ExpectedCrc(const std::string& text)
{
    std::string narrowed = "JRM";
    for (char16_t unit : Utf8ToUtf16(text))
        narrowed += static_cast<char>(unit & 0xFF);
    return Md5Hex(narrowed);
}

bool IsInteger(const std::string& text, long long& number)
{
    static const std::regex kInteger("-?[0-9]{1,10}");
    if (!std::regex_match(text, kInteger))
        return false;
    number = std::stoll(text);
    return number >= -1;
}

bool IsKnownPlatform(const std::string& key)
{
    for (const char* platform : kPlatforms) {
        if (key == platform)
            return true;
    }
    return false;
}

} // namespace

ScoreTestServer::ScoreTestServer(const std::string& path, std::chrono::milliseconds lifetime)
    : m_path(path), m_http(lifetime)
{
    m_http.Handle(path, [this](const HttpTestServer::Request& request) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_fault)
                return *m_fault;
        }
        HttpTestServer::Reply reply;
        reply.body = Answer(request.target);
        return reply;
    });
}

std::u16string ScoreTestServer::BaseUrl() const
{
    return m_http.Url(Utf8ToUtf16(m_path));
}

void ScoreTestServer::SetFault(std::optional<HttpTestServer::Reply> reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_fault = std::move(reply);
}

void ScoreTestServer::AddAccount(const std::string& login, const Account& account)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_accounts[login] = account;
}

std::map<std::string, ScoreTestServer::Account> ScoreTestServer::Accounts() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_accounts;
}

std::vector<ScoreTestServer::Score> ScoreTestServer::Scores() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_scores;
}

std::string ScoreTestServer::Answer(const std::string& target)
{
    size_t question = target.find('?');
    Values values;
    if (question == std::string::npos || target.compare(0, question, m_path) != 0 ||
        !SplitQuery(target.substr(question + 1), values) || values.empty() || values[0].first != "action")
        return "0";
    std::lock_guard<std::mutex> lock(m_mutex);
    if (values[0].second == "set_user")
        return SetUser(values);
    size_t crcAt = target.rfind("&crc=");
    std::string signedText;
    if (values[0].second != "set_score" || crcAt == std::string::npos ||
        !PercentDecode(target.substr(question + 1, crcAt - question - 1), &signedText))
        return "0";
    std::string base = Utf16ToUtf8(BaseUrl());
    return SetScore(values, base + "?" + signedText);
}

std::string ScoreTestServer::SetUser(const Values& values)
{
    if (values.size() != 4 || values[1].first != "login" || values[2].first != "password" ||
        values[3].first != "email" || values[1].second.empty())
        return "0";
    const std::string& login = values[1].second;
    auto known = m_accounts.find(login);
    if (known != m_accounts.end())
        return known->second.password == values[2].second ? "2" : "-1";
    if (values[3].second.find('@') == std::string::npos)
        return "-2";
    m_accounts[login] = {values[2].second, values[3].second};
    return "1";
}

std::string ScoreTestServer::SetScore(const Values& values, const std::string& signedText)
{
    static const char* const kHead[] = {"action", "login", "password", "plateforme", "jeu", "version"};
    static const std::regex kDate("[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{6}");
    const size_t head = std::size(kHead);
    // Head, L scores, L modes, date and crc.
    if (values.size() < head + 4 || (values.size() - head - 2) % 2 != 0)
        return "0";
    const size_t levels = (values.size() - head - 2) / 2;
    for (size_t i = 0; i < head; ++i) {
        if (values[i].first != kHead[i])
            return "0";
    }
    Score score{values[1].second, values[4].second, values[5].second, values[3].second, "", "", {}};
    for (size_t i = 0; i < levels; ++i) {
        const auto& [scoreKey, scoreValue] = values[head + i];
        const auto& [modeKey, modeValue] = values[head + levels + i];
        long long number = 0;
        if (scoreKey != "score" + std::to_string(i + 1) || !IsInteger(scoreValue, number) ||
            modeKey != "mode" + std::to_string(i + 1) || (modeValue != "story" && modeValue != "timeattack") ||
            (i > 0 && modeValue != score.mode))
            return "0";
        score.mode = modeValue;
        score.scores.push_back(number);
    }
    const auto& date = values[values.size() - 2];
    const auto& crc = values.back();
    long long version = 0;
    if (date.first != "date" || !std::regex_match(date.second, kDate) || crc.first != "crc" ||
        !IsKnownPlatform(score.platform) || score.game.empty() || !IsInteger(score.version, version))
        return "0";
    score.date = date.second;
    auto account = m_accounts.find(score.login);
    if (account == m_accounts.end())
        return "-1";
    if (account->second.password != values[2].second)
        return "-2";
    if (crc.second != ExpectedCrc(signedText))
        return "-3";
    long long total = 0;
    for (long long level : score.scores)
        total = level < 0 || total < 0 ? -1 : total + level;
    m_scores.push_back(score);
    std::string key = score.login + "/" + score.game + "/" + score.mode;
    auto best = m_best.find(key);
    if (total < 0 || (best != m_best.end() && best->second <= total))
        return "2";
    m_best[key] = total;
    return "1";
}
