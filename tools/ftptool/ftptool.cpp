// ftptool: the program's FTP and SFTP transfer tool, installed as "FTP" and
// "SFTP" (the name it is started under chooses the protocol).
//
// It reads one command per line on standard input and answers each with
// exactly one line on standard output, "+OK <command>" or "-ERR <libcurl
// code> <server reply> <words>", after a first "+OK <protocol>" line. The
// libcurl code is libcurl's result (0 for a failure of the tool's own); the
// server reply is the FTP reply code or the SFTP status (0 when there is
// none); the words are the server's own reply line, or libcurl's. A failed
// PUT or DELETE leaves the session as it was: the next command may go on.
// Progress of a transfer comes as "+STAT <percent>" lines before the
// answer. Standard error is free text.
//
//   HOST <host>[:<port>]   the server
//   USERNAME <name>        the account (read here, never from the command line)
//   PASSWORD <password>
//   BASEDIR <path>         the remote base folder, URL-escaped components
//   BASEDIRISROOT          the base folder is absolute (else below the login folder)
//   CONNECT                logs in. Over SFTP, a server whose host key is
//                          not known yet is not logged in to: the answer is
//                          "-ERR 0 0 NEWHOSTKEY <type> <key>", with the key's
//                          type as ssh names it (ED25519, ECDSA, RSA, DSA) and
//                          its blob in hexadecimal; nothing is stored.
//   TRUSTKEY <key>         the user trusts the key (hexadecimal, as NEWHOSTKEY
//                          gave it) the server offered in this session: it is
//                          added to the known-hosts file, and the next CONNECT
//                          goes through. Any other key is refused.
//   PUT <path>             sends the local file at <path> (URL-escaped, below
//                          the working folder) to the same path below the
//                          base folder, making missing folders. The file goes
//                          to a temporary name of the session's own in its
//                          folder (or over FTP the nearest folder above it an
//                          address can name): a random name that neither the
//                          working folder nor the server's folder holds (the
//                          folder is listed once a session, when the first
//                          file goes there). "+TEMP <path>" names it before
//                          the transfer starts; "+GONE <path>" says it was
//                          renamed over the file or removed. The file is
//                          renamed over the old one only once it arrived
//                          whole, and then its size on the server is read
//                          back in the same request (SIZE over FTP; over SFTP
//                          the file's attributes): "+OK PUT" only when the
//                          server holds the size sent. Otherwise the answer
//                          is "-ERR 0 0 unconfirmed: none" (no file under the
//                          name), "-ERR 0 0 unconfirmed: elsewhere <name>" (no
//                          file under the name, but its folder holds a name
//                          like it, URL-escaped, that the working folder does
//                          not), or "-ERR 0 0 unconfirmed: <n> bytes" (the
//                          file holds n bytes). A failed transfer removes its
//                          temporary file; one killed leaves it, and the
//                          program, which kept its name, discards it later.
//   DELETE <path>          removes the remote file, and nothing else; one
//                          already gone counts as removed
//   DISCARD <path>         the same for a temporary file an earlier session
//                          named in "+TEMP" and never said "+GONE" of
//   TEST                   lists the base folder: "+OK TEST", or "+OK TEST MISSING"
//                          when the login works but the base folder (or a
//                          folder above it) does not exist yet (PUT makes it)
//   QUIT                   answers and ends
//
// Paths holding "..", "." or empty components, NUL, or a line end over FTP,
// are refused. Bounds come from
// the environment: LUMENQUILL_STALL_SECONDS (a transfer that moves no byte
// that long ends, 60), LUMENQUILL_BASE_SECONDS and LUMENQUILL_SLOWEST_RATE
// (a request may take the base seconds, 120, plus its file's size at the
// slowest rate, 4096 bytes/s), LUMENQUILL_LISTING_BYTES and
// LUMENQUILL_LISTING_NAMES (a listing is read up to 8 MB and 100000
// names; a longer one is an error). SFTP host keys
// are checked against the file named by LUMENQUILL_KNOWN_HOSTS: a host seen
// for the first time is reported (NEWHOSTKEY) and added only once TRUSTKEY
// says the user trusts its key; a host whose key changed is refused.
// A failed FTP command quotes the server's reply: of a reply of several
// lines, its first line, which carries the reply's message.
// One connection serves the whole session.

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

bool sftp = false;
std::string host;
std::string user;
std::string password;
std::vector<std::string> baseParts;
bool baseIsRoot = false;
std::string entryPath;   // the login folder, known after CONNECT
bool connected = false;
CURL* curl = nullptr;
char errorText[CURL_ERROR_SIZE];
int lastPercent = -1;

// The bounds of the run, read once from the environment.
long long bound(const char* name, long long fallback)
{
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    return (*end == 0 && value > 0) ? value : fallback;
}
const long stallSeconds = static_cast<long>(bound("LUMENQUILL_STALL_SECONDS", 60));
const long long baseSeconds = bound("LUMENQUILL_BASE_SECONDS", 120);
const long long slowestRate = bound("LUMENQUILL_SLOWEST_RATE", 4096);
const size_t listingBytes = static_cast<size_t>(bound("LUMENQUILL_LISTING_BYTES", 8 * 1024 * 1024));
const size_t listingNames = static_cast<size_t>(bound("LUMENQUILL_LISTING_NAMES", 100000));

// The longest time one request with a body of the size may take.
long wholeSeconds(long long bytes)
{
    return static_cast<long>(std::min<long long>(baseSeconds + bytes / slowestRate, 1000000000LL));
}

void reply(const std::string& line)
{
    std::fputs((line + "\r\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string percentDecode(const std::string& text, bool* ok)
{
    std::string out;
    *ok = true;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size() + 0 || !std::isxdigit(static_cast<unsigned char>(text[i + 1]))
                || !std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
                *ok = false;
                return std::string();
            }
            out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// The decoded components of a slash-separated, URL-escaped path; false for
// an empty path or one with empty, "." or ".." components, or a "/" or NUL
// hidden in an escape, or a line end (allowed only in a file's path over SFTP).
bool splitPath(const std::string& path, std::vector<std::string>* parts, bool allowEmpty, bool allowLineEnds = false)
{
    parts->clear();
    if (path.empty())
        return allowEmpty;
    size_t start = 0;
    while (true) {
        const size_t end = path.find('/', start);
        const std::string raw = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        bool ok = false;
        const std::string part = percentDecode(raw, &ok);
        // FTP's commands are lines: a line end in a name would end one. SFTP
        // carries any file name; a folder typed for the base has none.
        const bool lineEnd = part.find('\n') != std::string::npos || part.find('\r') != std::string::npos;
        if (!ok || part.empty() || part == "." || part == ".." || part.find('/') != std::string::npos
            || part.find('\0') != std::string::npos || (lineEnd && !(sftp && allowLineEnds)))
            return false;
        parts->push_back(part);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}

std::string escaped(const std::string& part)
{
    char* text = curl_easy_escape(curl, part.data(), static_cast<int>(part.size()));
    std::string out = text ? text : "";
    curl_free(text);
    return out;
}

// The address of a remote path (components below the base folder); a folder
// address ends with "/".
std::string addressOf(const std::vector<std::string>& parts, bool folder)
{
    std::string url = (sftp ? "sftp://" : "ftp://") + host + "/";
    if (baseIsRoot) {
        if (!sftp)
            url += "%2F";
    } else if (sftp) {
        url += "~/";
    }
    std::vector<std::string> all = baseParts;
    all.insert(all.end(), parts.begin(), parts.end());
    for (size_t i = 0; i < all.size(); ++i) {
        if (i)
            url += "/";
        url += escaped(all[i]);
    }
    if (folder && !all.empty())
        url += "/";
    if (!sftp && baseIsRoot && all.empty())
        url += "/";
    return url;
}

// The plain remote path of a file, absolute, for server commands.
std::string absolutePath(const std::vector<std::string>& parts)
{
    std::string path;
    if (!baseIsRoot) {
        path = entryPath;
        while (!path.empty() && path.back() == '/')
            path.pop_back();
    }
    std::vector<std::string> all = baseParts;
    all.insert(all.end(), parts.begin(), parts.end());
    for (const std::string& part : all)
        path += "/" + part;
    return path;
}

int progress(void*, curl_off_t, curl_off_t, curl_off_t ultotal, curl_off_t ulnow)
{
    if (ultotal > 0) {
        const int percent = static_cast<int>(ulnow * 100 / ultotal);
        if (percent != lastPercent) {
            lastPercent = percent;
            reply("+STAT " + std::to_string(percent));
        }
    }
    return 0;
}

// The program's own known-hosts file: one line "<host>:<port> <key type>
// <key in hexadecimal>" per server. The port is part of the name, so that
// two servers on one host keep their own keys.
std::string hexOf(const char* bytes, size_t size)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out.push_back(digits[byte >> 4]);
        out.push_back(digits[byte & 15]);
    }
    return out;
}

std::string hostName()
{
    return host.find(':') == std::string::npos ? host + ":22" : host;
}

// The key a server offered that the known-hosts file does not hold yet,
// and the one the user said to trust (both as hexadecimal blobs).
int offeredType = -1;
std::string offeredKey;
int trustedType = -1;
std::string trustedKey;

// The key's type as ssh names it in its fingerprint lines.
const char* typeName(int type)
{
    switch (type) {
    case CURLKHTYPE_RSA1:
    case CURLKHTYPE_RSA: return "RSA";
    case CURLKHTYPE_DSS: return "DSA";
    case CURLKHTYPE_ECDSA: return "ECDSA";
    case CURLKHTYPE_ED25519: return "ED25519";
    default: return "UNKNOWN";
    }
}

bool addKnownHost(const char* file, const std::string& entry)
{
    FILE* known = std::fopen(file, "a");
    if (!known)
        return false;
    std::fprintf(known, "%s %s\n", hostName().c_str(), entry.c_str());
    return std::fclose(known) == 0;
}

int hostKey(void*, int type, const char* key, size_t length)
{
    const char* file = std::getenv("LUMENQUILL_KNOWN_HOSTS");
    if (!file || !*file)
        return CURLKHMATCH_MISMATCH;
    const std::string name = hostName();
    const std::string blob = hexOf(key, length);
    const std::string entry = std::to_string(type) + " " + blob;
    if (FILE* known = std::fopen(file, "r")) {
        char buffer[8192];
        while (std::fgets(buffer, sizeof buffer, known)) {
            std::string line = buffer;
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.pop_back();
            const size_t space = line.find(' ');
            if (space == std::string::npos || line.substr(0, space) != name)
                continue;
            std::fclose(known);
            if (line.substr(space + 1) == entry)
                return CURLKHMATCH_OK;
            std::fprintf(stderr, "ftptool: the host key of %s does not match the known one\n", name.c_str());
            return CURLKHMATCH_MISMATCH;
        }
        std::fclose(known);
    }
    // A key seen for the first time is trusted only when the user said so.
    if (!trustedKey.empty() && trustedKey == blob && trustedType == type) {
        if (!addKnownHost(file, entry))
            return CURLKHMATCH_MISMATCH;
        std::fprintf(stderr, "ftptool: the host key of %s is now trusted\n", name.c_str());
        return CURLKHMATCH_OK;
    }
    offeredType = type;
    offeredKey = blob;
    std::fprintf(stderr, "ftptool: first connection to %s: its host key is not known yet\n", name.c_str());
    return CURLKHMATCH_MISMATCH;
}

size_t discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

// The message of the server's last reply (FTP), and what an SFTP
// "statvfs" told.
std::string serverLine;
std::string statvfsText;
// The first line of a reply of several lines, until its last line comes.
std::string firstLine;

bool startsWithCode(const std::string& line)
{
    return line.size() >= 4 && std::isdigit(static_cast<unsigned char>(line[0])) && std::isdigit(static_cast<unsigned char>(line[1]))
        && std::isdigit(static_cast<unsigned char>(line[2])) && (line[3] == ' ' || line[3] == '-');
}

// The last "213" reply of a request: the answer to SIZE.
std::string sizeLine;

size_t readHeader(char* data, size_t size, size_t count, void*)
{
    std::string line(data, size * count);
    if (line.rfind("statvfs:", 0) == 0 || !statvfsText.empty()) {
        statvfsText += line;
        return size * count;
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    // A reply of several lines opens with "<code>-<message>" and closes
    // with "<code> <text>": the message is on its first line (the last one
    // may hold no more than timings), unless that line says nothing.
    if (!firstLine.empty()) {
        if (line.size() >= 4 && line.compare(0, 3, firstLine, 0, 3) == 0 && line[3] == ' ') {
            const bool saysNothing = firstLine.find_first_not_of(' ', 4) == std::string::npos;
            serverLine = saysNothing ? line : firstLine.substr(0, 3) + " " + firstLine.substr(4);
            firstLine.clear();
        }
        return size * count;
    }
    if (startsWithCode(line)) {
        if (line[3] == '-')
            firstLine = line;
        else
            serverLine = line;
    } else if (line.size() >= 3 && std::isdigit(static_cast<unsigned char>(line[0]))) {
        serverLine = line;
    }
    if (line.rfind("213 ", 0) == 0)
        sizeLine = line;
    return size * count;
}

void prepare(const std::string& url)
{
    curl_easy_reset(curl);
    errorText[0] = 0;
    serverLine.clear();
    firstLine.clear();
    statvfsText.clear();
    sizeLine.clear();
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, sftp ? "sftp" : "ftp");
    curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, std::min(30L, stallSeconds));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    // Uploads set their own, scaled by the file's size.
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, wholeSeconds(0));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    if (sftp) {
        curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
        const char* knownHosts = std::getenv("LUMENQUILL_KNOWN_HOSTS");
        if (knownHosts && *knownHosts)
            curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYFUNCTION, hostKey);
    }
}

// The answer to a failed command: "-ERR <libcurl code> <reply> <words>".
std::string failure(CURLcode code)
{
    std::string curlWords = errorText[0] ? errorText : curl_easy_strerror(code);
    while (!curlWords.empty() && (curlWords.back() == '\n' || curlWords.back() == '\r'))
        curlWords.pop_back();
    long replyCode = 0;
    std::string words = curlWords;
    if (sftp) {
        // libcurl ends the words of an SFTP failure with "(<status>/<libssh2 code>)".
        const size_t open = curlWords.rfind('(');
        const size_t slash = curlWords.find('/', open == std::string::npos ? curlWords.size() : open);
        if (open != std::string::npos && slash != std::string::npos)
            replyCode = std::strtol(curlWords.c_str() + open + 1, nullptr, 10);
    } else {
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &replyCode);
        // libcurl ends at a 421 (the server closing) before it takes the
        // reply's code as the request's: the reply itself tells it.
        if (replyCode < 400 && serverLine.size() >= 3 && std::isdigit(static_cast<unsigned char>(serverLine[0]))) {
            const long lineCode = std::strtol(serverLine.substr(0, 3).c_str(), nullptr, 10);
            if (lineCode >= 400)
                replyCode = lineCode;
        }
        if (replyCode >= 400 && !serverLine.empty())
            words = serverLine;
        else if (replyCode < 400)
            replyCode = 0;
    }
    return "-ERR " + std::to_string(static_cast<int>(code)) + " " + std::to_string(replyCode) + " " + words;
}

// A failure of the tool's own, in the same form.
std::string failure(CURLcode code, const std::string& words)
{
    return "-ERR " + std::to_string(static_cast<int>(code)) + " 0 " + words;
}

void connect()
{
    if (host.empty()) {
        reply(failure(CURLE_URL_MALFORMAT, "No host given"));
        return;
    }
    const char* knownHosts = std::getenv("LUMENQUILL_KNOWN_HOSTS");
    if (sftp && !(knownHosts && *knownHosts)) {
        reply(failure(CURLE_SSH, "No known-hosts file to check the server's host key against"));
        return;
    }
    prepare((sftp ? "sftp://" : "ftp://") + host + (sftp ? "/~/" : "/"));
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    offeredType = -1;
    offeredKey.clear();
    const CURLcode result = curl_easy_perform(curl);
    if (result != CURLE_OK) {
        if (sftp && !offeredKey.empty())
            reply("-ERR 0 0 NEWHOSTKEY " + std::string(typeName(offeredType)) + " " + offeredKey);
        else
            reply(failure(result));
        return;
    }
    char* path = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_FTP_ENTRY_PATH, &path) == CURLE_OK && path)
        entryPath = path;
    if (entryPath.empty())
        entryPath = "/";
    connected = true;
    reply("+OK CONNECT");
}

// Whether an address can name the component: over FTP libcurl refuses
// control characters in an address (a command can still carry them).
bool addressable(const std::string& part)
{
    if (sftp)
        return true;
    return std::none_of(part.begin(), part.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// A remote path as an SFTP command's argument: in quotes, with quotes and
// backslashes escaped.
std::string quoted(const std::string& path)
{
    std::string text = "\"";
    for (char c : path) {
        if (c == '"' || c == '\\')
            text.push_back('\\');
        text.push_back(c);
    }
    return text + "\"";
}

bool listNames(const std::vector<std::string>& folder, std::vector<std::string>* names, std::string* why);

// A path below the base folder as the protocol's lines carry it: each
// component URL-escaped, joined with "/".
std::string escapedPath(const std::vector<std::string>& parts)
{
    std::string path;
    for (const std::string& part : parts)
        path += (path.empty() ? "" : "/") + escaped(part);
    return path;
}

// The names each folder (components below the base folder) held when the
// session first put a file into it, with the temporary names it made there.
std::map<std::vector<std::string>, std::set<std::string>> folderNames;

std::string randomDigits()
{
    static std::random_device device;
    const unsigned long long value = (static_cast<unsigned long long>(device()) << 32) ^ device();
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", value);
    return digits;
}

// Whether the working folder (the site as it is sent) holds the path.
bool heldHere(const std::vector<std::string>& parts)
{
    std::string local;
    for (const std::string& part : parts)
        local += (local.empty() ? "" : "/") + part;
    struct stat status {};
    return ::lstat(local.c_str(), &status) == 0;
}

// A temporary name of the session's own in the folder (components below the
// base folder): a random one that neither the working folder nor the
// server's folder holds. A folder that cannot be listed (not made yet)
// holds nothing.
std::string newTemporaryName(const std::vector<std::string>& folder)
{
    auto known = folderNames.find(folder);
    if (known == folderNames.end()) {
        std::vector<std::string> full = baseParts;
        full.insert(full.end(), folder.begin(), folder.end());
        std::vector<std::string> names;
        std::string why;
        listNames(full, &names, &why);
        known = folderNames.emplace(folder, std::set<std::string>(names.begin(), names.end())).first;
    }
    while (true) {
        const std::string name = ".lq-" + randomDigits() + ".tmp";
        std::vector<std::string> local = folder;
        local.push_back(name);
        if (known->second.count(name) || heldHere(local))
            continue;
        known->second.insert(name);
        return name;
    }
}

// Runs the server commands (each may begin with "*": its failure is
// ignored) in a request for the address; answers libcurl's result.
CURLcode runCommandsAt(const std::string& address, const std::vector<std::string>& commands)
{
    curl_slist* list = nullptr;
    for (const std::string& command : commands)
        list = curl_slist_append(list, command.c_str());
    prepare(address);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_QUOTE, list);
    const CURLcode result = curl_easy_perform(curl);
    curl_slist_free_all(list);
    return result;
}

// The same in the folder's session (components below the base folder).
CURLcode runCommands(const std::vector<std::string>& commands, const std::vector<std::string>& folder)
{
    const std::vector<std::string> saved = baseParts;
    baseParts.insert(baseParts.end(), folder.begin(), folder.end());
    const std::string address = addressOf({}, true);
    baseParts = saved;
    return runCommandsAt(address, commands);
}

std::string removeCommand(const std::string& path, bool mayFail)
{
    return std::string(mayFail ? "*" : "") + (sftp ? "rm " + quoted(path) : "DELE " + path);
}

// Whether a failed upload left the session able to take commands.
bool sessionAlive(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_LOGIN_DENIED:
    case CURLE_PEER_FAILED_VERIFICATION:
        return false;
    default:
        return true;
    }
}

// Whether the folder (components below the base folder) has fewer than
// the bytes free, as the SFTP server's "statvfs" tells; false when it
// cannot tell.
bool lacksRoom(const std::vector<std::string>& folder, long long bytes)
{
    runCommands({ "statvfs " + quoted(absolutePath(folder)) }, {});
    const auto field = [](const char* name) -> long long {
        const size_t at = statvfsText.find(std::string(name) + ": ");
        return at == std::string::npos ? -1 : std::strtoll(statvfsText.c_str() + at + std::strlen(name) + 2, nullptr, 10);
    };
    const long long available = field("f_bavail");
    const long long fragment = field("f_frsize");
    return available >= 0 && fragment > 0 && available * fragment < std::max(bytes, 1LL);
}

// What the server holds under a file's name, as far as it told.
struct Held {
    bool known = false;     // the server said whether it holds the file
    bool exists = false;
    long long size = -1;    // -1: the server tells no size
};

// What the request that just ran told of the file: the SIZE reply among
// its commands (FTP), or the file's attributes it read (SFTP).
Held heldAfter(CURLcode result)
{
    Held held;
    if (sftp) {
        if (result == CURLE_REMOTE_FILE_NOT_FOUND) {
            held.known = true;
        } else if (result == CURLE_OK) {
            curl_off_t length = -1;
            curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
            // libcurl tells an empty file as no size.
            held = { true, true, length < 0 ? 0 : static_cast<long long>(length) };
        }
    } else if (!sizeLine.empty()) {
        held = { true, true, std::strtoll(sizeLine.c_str() + 4, nullptr, 10) };
    }
    return held;
}

// Renames the temporary file over the file (components below the base
// folder) and reads what the server then holds under the file's name, in
// the same request: at once where the server replaces a file on rename,
// else (OpenSSH's SFTP server does not) once the old file is gone. Folders
// an address could not name are made first.
CURLcode renameOver(const std::string& from, const std::vector<std::string>& parts, const std::vector<std::string>& folders, Held* held)
{
    const std::string to = absolutePath(parts);
    std::vector<std::string> commands;
    for (const std::string& folder : folders)
        commands.push_back(sftp ? "*mkdir " + quoted(folder) : "*MKD " + folder);
    const std::vector<std::string> rename = sftp ? std::vector<std::string> { "rename " + quoted(from) + " " + quoted(to) }
                                                 : std::vector<std::string> { "RNFR " + from, "RNTO " + to, "*SIZE " + to };
    // Over SFTP the request for the file itself reads its attributes once
    // the commands ran.
    const std::string address = sftp ? addressOf(parts, false) : addressOf({}, true);
    std::vector<std::string> first = commands;
    first.insert(first.end(), rename.begin(), rename.end());
    CURLcode result = runCommandsAt(address, first);
    // Over SFTP only a refused command is the rename's failure; what comes
    // after it is the reading of the renamed file.
    if (result != CURLE_OK && (result == CURLE_QUOTE_ERROR || !sftp)) {
        std::vector<std::string> second { removeCommand(to, true) };
        second.insert(second.end(), rename.begin(), rename.end());
        result = runCommandsAt(address, second);
    }
    if (result == CURLE_QUOTE_ERROR || (result != CURLE_OK && !sftp))
        return result;
    if (sftp && result != CURLE_OK && result != CURLE_REMOTE_FILE_NOT_FOUND)
        return CURLE_OK;   // renamed; the attributes could not be read
    *held = heldAfter(result);
    return CURLE_OK;
}

// Whether the server could have stored the name `sent` as `held`: a name of
// the same length that differs from it only in letter case, or where
// `sent` has a character servers replace (a control character, a space, a
// byte of a character beyond ASCII, or a mark some file systems refuse).
bool likeName(const std::string& sent, const std::string& held)
{
    if (held == sent || held.size() != sent.size())
        return false;
    for (size_t i = 0; i < sent.size(); ++i) {
        const auto a = static_cast<unsigned char>(sent[i]);
        const auto b = static_cast<unsigned char>(held[i]);
        if (a == b || std::tolower(a) == std::tolower(b))
            continue;
        if (a < 0x20 || a >= 0x7F || std::strchr(" \"*:<>?\\|", a))
            continue;
        return false;
    }
    return true;
}

// The answer to a PUT the server said it stored: "+OK PUT" when it holds
// the size sent under the file's name. Anything else is found out from
// more requests, which only an unconfirmed file costs. The temporary
// file, if the server kept it, is removed; "+GONE" says when it is gone.
std::string confirmStored(const std::vector<std::string>& parts, const std::vector<std::string>& temporary, long long size, Held held)
{
    const bool addressed = std::all_of(parts.begin(), parts.end(), addressable);
    if (!held.known && addressed) {
        // A server that would not answer SIZE among the commands (one in
        // ASCII mode) may in a request of its own.
        prepare(addressOf(parts, false));
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        const CURLcode probe = curl_easy_perform(curl);
        curl_off_t length = -1;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        if (probe == CURLE_REMOTE_FILE_NOT_FOUND || probe == CURLE_FTP_COULDNT_RETR_FILE)
            held = { true, false, -1 };
        else if (probe == CURLE_OK && length >= 0)
            held = { true, true, static_cast<long long>(length) };
    }
    if (held.known && held.exists && held.size == size) {
        reply("+GONE " + escapedPath(temporary));
        return "+OK PUT";
    }
    // The folder's listing tells the rest: whether the temporary file is
    // still there, and a name like the file's.
    const std::vector<std::string> folder(parts.begin(), parts.end() - 1);
    std::vector<std::string> listed = baseParts;
    listed.insert(listed.end(), folder.begin(), folder.end());
    std::vector<std::string> names;
    std::string why;
    const bool listable = std::all_of(folder.begin(), folder.end(), addressable) && listNames(listed, &names, &why);
    const auto holds = [&](const std::string& name) { return std::find(names.begin(), names.end(), name) != names.end(); };
    if (!held.known && listable && holds(parts.back()))
        held = { true, true, -1 };
    // A server that tells no size at all is taken at its listing.
    if (held.exists && held.size < 0) {
        reply("+GONE " + escapedPath(temporary));
        return "+OK PUT";
    }
    // Where the listing cannot tell, the program keeps the temporary name
    // and discards it at its next publication.
    if (listable && std::vector<std::string>(temporary.begin(), temporary.end() - 1) == folder
        && (!holds(temporary.back()) || runCommands({ removeCommand(absolutePath(temporary), false) }, {}) == CURLE_OK))
        reply("+GONE " + escapedPath(temporary));
    if (held.exists)
        return failure(CURLcode(0), "unconfirmed: " + std::to_string(held.size) + " bytes");
    for (const std::string& name : names) {
        std::vector<std::string> local = folder;
        local.push_back(name);
        if (likeName(parts.back(), name) && !heldHere(local))
            return failure(CURLcode(0), "unconfirmed: elsewhere " + escaped(name));
    }
    return failure(CURLcode(0), "unconfirmed: none");
}

void put(const std::string& argument)
{
    std::vector<std::string> parts;
    if (!splitPath(argument, &parts, false, true)) {
        reply(failure(CURLE_URL_MALFORMAT, "Refused path: " + argument));
        return;
    }
    if (!connected) {
        reply(failure(CURLE_SEND_ERROR, "Not connected"));
        return;
    }
    std::string local;
    for (const std::string& part : parts)
        local += (local.empty() ? "" : "/") + part;
    FILE* file = std::fopen(local.c_str(), "rb");
    long long size = -1;
    if (file && std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (!file || size < 0) {
        const std::string why = std::strerror(errno);
        if (file)
            std::fclose(file);
        reply(failure(CURLE_READ_ERROR, why));
        return;
    }
    std::rewind(file);
    // The temporary file goes into the file's folder, or over FTP into the
    // nearest folder above it an address can name; the folders below that
    // are made by commands.
    const std::vector<std::string> folders(parts.begin(), parts.end() - 1);
    size_t reach = 0;
    while (reach < folders.size() && addressable(folders[reach]))
        ++reach;
    std::vector<std::string> temporary(folders.begin(), folders.begin() + static_cast<std::ptrdiff_t>(reach));
    temporary.push_back(newTemporaryName(temporary));
    std::vector<std::string> unreachable;
    for (size_t i = reach; i < folders.size(); ++i)
        unreachable.push_back(absolutePath(std::vector<std::string>(folders.begin(), folders.begin() + static_cast<std::ptrdiff_t>(i) + 1)));

    reply("+TEMP " + escapedPath(temporary));
    prepare(addressOf(temporary, false));
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READDATA, file);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, wholeSeconds(size));
    curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR));
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, progress);
    lastPercent = -1;
    CURLcode result = curl_easy_perform(curl);
    std::fclose(file);
    if (result == CURLE_OK) {
        Held held;
        result = renameOver(absolutePath(temporary), parts, unreachable, &held);
        if (result == CURLE_OK) {
            reply(confirmStored(parts, temporary, size, held));
            return;
        }
    }
    std::string answer = failure(result);
    const std::string words = errorText[0] ? errorText : curl_easy_strerror(result);
    if (sessionAlive(result)) {
        // What did not arrive whole goes; the old file was never touched.
        const std::vector<std::string> folder(temporary.begin(), temporary.end() - 1);
        const CURLcode removal = runCommands({ removeCommand(absolutePath(temporary), false) }, {});
        if (removal == CURLE_OK)
            reply("+GONE " + escapedPath(temporary));
        const bool answers = removal == CURLE_OK || removal == CURLE_QUOTE_ERROR;
        // OpenSSH's SFTP server says no more than "Failure" when its disk
        // is full: the free room of the folder tells.
        if (sftp && result != CURLE_REMOTE_ACCESS_DENIED && lacksRoom(folder, size))
            answer = failure(CURLE_REMOTE_DISK_FULL, "");
        // An FTP server that closes the data connection part way (as one
        // whose disk is full does) is never heard out; when it answers
        // again, it was this file it would not take.
        else if (answers && (result == CURLE_SEND_ERROR || result == CURLE_RECV_ERROR || result == CURLE_GOT_NOTHING))
            answer = failure(CURLE_PARTIAL_FILE, words);
    }
    reply(answer);
}

// Removes the file (DELETE) or a temporary file of an earlier session
// (DISCARD): that name only.
void remove(const std::string& argument, const std::string& verb)
{
    std::vector<std::string> parts;
    if (!splitPath(argument, &parts, false, true)) {
        reply(failure(CURLE_URL_MALFORMAT, "Refused path: " + argument));
        return;
    }
    if (!connected) {
        reply(failure(CURLE_SEND_ERROR, "Not connected"));
        return;
    }
    const CURLcode result = runCommands({ removeCommand(absolutePath(parts), false) }, {});
    if (result == CURLE_OK) {
        reply("+OK " + verb);
        return;
    }
    const std::string why = failure(result);
    // A file that is not there any more counts as removed, so that a retry
    // after a partial run can finish.
    if (std::all_of(parts.begin(), parts.end(), addressable)) {
        prepare(addressOf(parts, false));
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        const CURLcode probe = curl_easy_perform(curl);
        if (probe == CURLE_REMOTE_FILE_NOT_FOUND || probe == CURLE_FTP_COULDNT_RETR_FILE) {
            reply("+OK " + verb);
            return;
        }
    }
    reply(why);
}

// A listing as it arrives, read no further than its bounds.
struct Listing {
    std::string text;
    size_t names = 0;
    bool tooLong = false;
};

size_t collect(char* data, size_t size, size_t count, void* target)
{
    auto* listing = static_cast<Listing*>(target);
    const size_t bytes = size * count;
    listing->names += static_cast<size_t>(std::count(data, data + bytes, '\n'));
    if (listing->text.size() + bytes > listingBytes || listing->names > listingNames) {
        // Answering less than was given ends the transfer.
        listing->tooLong = true;
        return 0;
    }
    listing->text.append(data, bytes);
    return bytes;
}

// The names the folder (components below the base folder's root) holds;
// false, with the answer that says why, when it cannot be listed or its
// listing passes the bounds.
bool listNames(const std::vector<std::string>& folder, std::vector<std::string>* names, std::string* why)
{
    const std::vector<std::string> saved = baseParts;
    baseParts = folder;
    prepare(addressOf({}, true));
    baseParts = saved;
    Listing listing;
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &listing);
    const CURLcode code = curl_easy_perform(curl);
    names->clear();
    if (listing.tooLong) {
        *why = failure(CURLE_WRITE_ERROR, "The base folder cannot be listed: the server's listing is longer than " + std::to_string(listingNames)
                + " names or " + std::to_string(listingBytes) + " bytes, so it was not read further");
        return false;
    }
    if (code != CURLE_OK) {
        *why = failure(code);
        return false;
    }
    const std::string& text = listing.text;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string name = text.substr(start, end - start);
        while (!name.empty() && (name.back() == '\r' || name.back() == '/'))
            name.pop_back();
        // Some servers list folders as paths.
        const size_t slash = name.rfind('/');
        if (slash != std::string::npos)
            name = name.substr(slash + 1);
        if (!name.empty())
            names->push_back(name);
        start = end + 1;
    }
    return true;
}

void test()
{
    if (!connected) {
        reply(failure(CURLE_SEND_ERROR, "Not connected"));
        return;
    }
    // From the login (or root) folder down: a folder missing on the way
    // will be made by the first PUT; any other failure is the answer.
    std::vector<std::string> folder;
    std::vector<std::string> names;
    std::string why;
    if (!listNames(folder, &names, &why)) {
        reply(why);
        return;
    }
    for (const std::string& part : baseParts) {
        bool found = false;
        for (const std::string& name : names)
            found = found || name == part;
        if (!found) {
            reply("+OK TEST MISSING");
            return;
        }
        folder.push_back(part);
        if (!listNames(folder, &names, &why)) {
            reply(why);
            return;
        }
    }
    reply("+OK TEST");
}

} // namespace

int main(int argc, char** argv)
{
    const char* name = argc > 0 ? argv[0] : "FTP";
    const char* slash = std::strrchr(name, '/');
    const std::string program = slash ? slash + 1 : name;
    sftp = program == "SFTP" || program == "sftp";
    if (argc > 1) {
        std::fputs("ftptool takes no arguments: commands come on standard input\n", stderr);
        return 2;
    }
    curl_global_init(CURL_GLOBAL_DEFAULT);
    curl = curl_easy_init();
    reply(sftp ? "+OK SFTP" : "+OK FTP");
    std::string line;
    int status = 1;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t space = line.find(' ');
        const std::string verb = line.substr(0, space);
        const std::string argument = space == std::string::npos ? std::string() : line.substr(space + 1);
        if (verb == "HOST") {
            host = argument;
            reply("+OK HOST");
        } else if (verb == "USERNAME") {
            user = argument;
            reply("+OK USERNAME");
        } else if (verb == "PASSWORD") {
            password = argument;
            reply("+OK PASSWORD");
        } else if (verb == "BASEDIR") {
            if (!splitPath(argument, &baseParts, true))
                reply(failure(CURLE_URL_MALFORMAT, "Refused folder: " + argument));
            else
                reply("+OK BASEDIR");
        } else if (verb == "BASEDIRISROOT") {
            baseIsRoot = true;
            reply("+OK BASEDIRISROOT");
        } else if (verb == "CONNECT") {
            connect();
        } else if (verb == "TRUSTKEY") {
            // Only the key this session's server offered, as the user saw it.
            if (!sftp || offeredKey.empty() || argument != offeredKey) {
                reply(failure(CURLE_PEER_FAILED_VERIFICATION, "Not the key the server offered"));
            } else {
                trustedKey = argument;
                trustedType = offeredType;
                reply("+OK TRUSTKEY");
            }
        } else if (verb == "PUT") {
            put(argument);
        } else if (verb == "DELETE" || verb == "DISCARD") {
            remove(argument, verb);
        } else if (verb == "TEST") {
            test();
        } else if (verb == "QUIT") {
            reply("+OK QUIT");
            status = 0;
            break;
        } else {
            reply(failure(CURLE_UNSUPPORTED_PROTOCOL, "Unknown command " + verb));
        }
    }
    curl_easy_cleanup(curl);
    curl_global_cleanup();
    return status;
}
