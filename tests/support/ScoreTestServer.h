#pragma once
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/HttpTestServer.h"

// A reply with that body and status, as a fault of the server.
inline HttpTestServer::Reply ScoreAnswer(const std::string& body, int status = 200)
{
    HttpTestServer::Reply reply;
    reply.status = status;
    reply.body = body;
    return reply;
}

// A score server on HttpTestServer that checks requests as a real one would. Query values are
// percent-decoded ('+' stays '+'); set_score must hold its parameters in order, L >= 1 scores
// numbered from 1, then L modes of one kind, a date "YYYY-MM-DD_hhmmss", a known platform and the
// crc of "JRM" and its own base URL with the decoded text before "&crc=".
// set_user answers "1" (new account), "2" (same login and password again), "-1" (login taken)
// or "-2" (e-mail without '@'); set_score "1" (new best), "2" (kept), "-1" (unknown login),
// "-2" (wrong password) or "-3" (crc); anything malformed "0". Answers carry no newline.
class ScoreTestServer {
public:
    struct Account {
        std::string password;
        std::string email;
    };
    struct Score {
        std::string login, game, version, platform, mode, date;
        std::vector<long long> scores;
    };

    // The server answers for lifetime (see HttpTestServer).
    explicit ScoreTestServer(const std::string& path = "/score",
                             std::chrono::milliseconds lifetime = std::chrono::seconds(30));

    bool Listening() const { return m_http.Listening(); }
    // "http://127.0.0.1:<port>/score"
    std::u16string BaseUrl() const;
    // The answer to a request target, as the server gives it.
    std::string Answer(const std::string& target);
    // Every later request gets reply instead (a fault); none restores the checked answers.
    void SetFault(std::optional<HttpTestServer::Reply> reply);
    void AddAccount(const std::string& login, const Account& account);

    std::map<std::string, Account> Accounts() const;
    std::vector<Score> Scores() const;
    std::vector<HttpTestServer::Request> Requests() const { return m_http.Requests(); }

private:
    std::string SetUser(const std::vector<std::pair<std::string, std::string>>& values);
    std::string SetScore(const std::vector<std::pair<std::string, std::string>>& values, const std::string& signedText);

    std::string m_path;
    mutable std::mutex m_mutex;
    std::map<std::string, Account> m_accounts;
    std::map<std::string, long long> m_best;
    std::vector<Score> m_scores;
    std::optional<HttpTestServer::Reply> m_fault;
    HttpTestServer m_http;
};
