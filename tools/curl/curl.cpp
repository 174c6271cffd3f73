// curl: the program's WebDAV request tool, one HTTP request per run.
//
//   curl -u- [-X<method>] [-H<header>]... [-T<file>] [-s] [-v | -o<file>] [--digest]
//        [-y<seconds>] [-m<seconds>] <address>
//
// "-u-" reads "user:password" from the first line of standard input, so that
// no credential ever stands on a command line. "-T<file>" sends the file
// (PUT); "-X" names another method (PROPFIND, MKCOL, DELETE). "-v" writes a
// trace of the exchange to standard output, with the Authorization header
// left out; "-o" writes the reply body to a file ("/dev/null": nowhere).
// "--digest" uses digest authentication instead of basic. Redirects are not
// followed; only http and https are spoken. "-y" ends a request that moved
// no byte for that many seconds (60 by default), "-m" one that took that
// many seconds in all (none by default); both give status 195. With "-v"
// the reply body is shown up to 64 kB; the rest is read and left out.
//
// Exit status (one rule for every caller):
//   0          a 2xx reply
//   3          bad address (malformed, or not http/https)
//   6          the host name could not be resolved
//   7          no connection to the host
//   9          403 Forbidden or 423 Locked
//   10         401 Unauthorized (wrong user name or password)
//   26         the local file to send could not be read
//   60         the server's certificate was refused
//   99         500 Internal Server Error
//   100        405 or 501 on PROPFIND or MKCOL (no WebDAV there)
//   195        time-out
//   198        507 Insufficient Storage
//   code - 199 other codes from 300 to 349 (302 gives 103)
//   code - 249 other codes from 400 to 439 (404 gives 155)
//   code - 304 other codes from 495 to 559 (503 gives 199)
//   22         any other reply
//   2          usage error; other libcurl failures give libcurl's own number
//              (always below 100)
//
// Standard error says what the exit status cannot: "reply: <code> <reason
// phrase>" with the server's last status line, "authenticate: <scheme>" for
// each scheme a 401 reply offers, and "curl: <libcurl code> <libcurl's
// words>" when the request itself failed.

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

int debugTrace(CURL*, curl_infotype type, char* data, size_t size, void*)
{
    const char* mark = nullptr;
    switch (type) {
    case CURLINFO_TEXT: mark = "* "; break;
    case CURLINFO_HEADER_IN: mark = "< "; break;
    case CURLINFO_HEADER_OUT: mark = "> "; break;
    default: return 0;
    }
    std::string text(data, size);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string lower = line;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (startsWith(lower, "authorization:") || startsWith(lower, "proxy-authorization:"))
            line = line.substr(0, line.find(':') + 1) + " (not shown)";
        if (!line.empty() || type == CURLINFO_HEADER_OUT || type == CURLINFO_HEADER_IN)
            std::printf("%s%s\n", mark, line.c_str());
        start = end + 1;
    }
    return 0;
}

size_t discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

// What the reply's headers tell of it: its status line and the schemes of
// authentication it offers.
struct ReplyHeaders {
    std::string statusLine;
    std::vector<std::string> schemes;
};

std::string trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

size_t readHeader(char* data, size_t size, size_t count, void* target)
{
    auto* headers = static_cast<ReplyHeaders*>(target);
    const std::string line = trimmed(std::string(data, size * count));
    std::string lower = line;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (startsWith(lower, "http/")) {
        // A new reply (after "100 Continue", or a retry with credentials).
        headers->statusLine = line;
        headers->schemes.clear();
    } else if (startsWith(lower, "www-authenticate:")) {
        std::string value = line.substr(std::strlen("www-authenticate:"));
        value.erase(0, value.find_first_not_of(' '));
        headers->schemes.push_back(value.substr(0, value.find(' ')));
    }
    return size * count;
}

// The reply body on standard output, up to a bound: a trace is for reading.
size_t showBounded(char* data, size_t size, size_t count, void* shown)
{
    constexpr size_t bound = 64 * 1024;
    size_t& done = *static_cast<size_t*>(shown);
    const size_t bytes = size * count;
    if (done < bound) {
        const size_t part = std::min(bytes, bound - done);
        std::fwrite(data, 1, part, stdout);
        done += part;
        if (done == bound)
            std::fputs("\n* (the rest of the reply is left out)\n", stdout);
    }
    return bytes;
}

// A whole number of seconds from an argument's text; -1 when it is none.
long seconds(const std::string& text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stol(text);
}

int statusOfHTTP(long code, const std::string& method)
{
    if (code >= 200 && code < 300)
        return 0;
    if (code == 401)
        return 10;
    if (code == 403 || code == 423)
        return 9;
    if ((code == 405 || code == 501) && (method == "PROPFIND" || method == "MKCOL"))
        return 100;
    if (code == 500)
        return 99;
    if (code == 507)
        return 198;
    if (code >= 300 && code <= 349)
        return static_cast<int>(code - 199);
    if (code >= 400 && code <= 439)
        return static_cast<int>(code - 249);
    if (code >= 495 && code <= 559)
        return static_cast<int>(code - 304);
    return 22;
}

int statusOfCurl(CURLcode code)
{
    switch (code) {
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return 3;
    case CURLE_COULDNT_RESOLVE_HOST:
        return 6;
    case CURLE_COULDNT_CONNECT:
        return 7;
    case CURLE_READ_ERROR:
    case CURLE_FILE_COULDNT_READ_FILE:
        return 26;
    case CURLE_OPERATION_TIMEDOUT:
        return 195;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        return 60;
    default:
        return code < 100 ? static_cast<int>(code) : 22;
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::string method;
    std::vector<std::string> headers;
    std::string upload;
    std::string output;
    std::string address;
    bool verbose = false;
    bool digest = false;
    bool credentialFromInput = false;
    long stallSeconds = 60;
    long wholeSeconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-u-")
            credentialFromInput = true;
        else if (startsWith(arg, "-u")) {
            std::fputs("curl: credentials are read from standard input (-u-), never from the command line\n", stderr);
            return 2;
        } else if (startsWith(arg, "-X") && arg.size() > 2)
            method = arg.substr(2);
        else if (startsWith(arg, "-H") && arg.size() > 2)
            headers.push_back(arg.substr(2));
        else if (startsWith(arg, "-T") && arg.size() > 2)
            upload = arg.substr(2);
        else if (startsWith(arg, "-o") && arg.size() > 2)
            output = arg.substr(2);
        else if (arg == "-s")
            ;
        else if (arg == "-v")
            verbose = true;
        else if (arg == "--digest")
            digest = true;
        else if ((startsWith(arg, "-y") || startsWith(arg, "-m")) && seconds(arg.substr(2)) > 0)
            (arg[1] == 'y' ? stallSeconds : wholeSeconds) = seconds(arg.substr(2));
        else if (!startsWith(arg, "-") && address.empty())
            address = arg;
        else {
            std::fprintf(stderr, "curl: unknown argument %s\n", arg.c_str());
            return 2;
        }
    }
    if (address.empty()) {
        std::fputs("usage: curl -u- [-X<method>] [-H<header>] [-T<file>] [-s] [-v|-o<file>] [--digest] [-y<seconds>] [-m<seconds>] <address>\n", stderr);
        return 2;
    }
    std::string user;
    std::string password;
    if (credentialFromInput) {
        std::string line;
        int c;
        while ((c = std::fgetc(stdin)) != EOF && c != '\n')
            line.push_back(static_cast<char>(c));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t colon = line.find(':');
        user = line.substr(0, colon);
        password = colon == std::string::npos ? std::string() : line.substr(colon + 1);
    }

    FILE* source = nullptr;
    long long sourceSize = 0;
    if (!upload.empty()) {
        source = std::fopen(upload.c_str(), "rb");
        if (!source || std::fseek(source, 0, SEEK_END) != 0 || (sourceSize = std::ftell(source)) < 0) {
            std::fprintf(stderr, "curl: %d %s\n", static_cast<int>(CURLE_READ_ERROR), std::strerror(errno));
            if (source)
                std::fclose(source);
            return 26;
        }
        std::rewind(source);
    }
    FILE* sink = nullptr;
    if (!output.empty() && output != "/dev/null") {
        sink = std::fopen(output.c_str(), "wb");
        if (!sink) {
            std::fprintf(stderr, "curl: %d %s\n", static_cast<int>(CURLE_WRITE_ERROR), std::strerror(errno));
            if (source)
                std::fclose(source);
            return 23;
        }
    }

    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, std::min(30L, stallSeconds));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    if (wholeSeconds > 0)
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, wholeSeconds);
    if (credentialFromInput) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, digest ? CURLAUTH_DIGEST : CURLAUTH_BASIC);
    }
    curl_slist* headerList = nullptr;
    for (const std::string& header : headers)
        headerList = curl_slist_append(headerList, header.c_str());
    if (headerList)
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headerList);
    if (source) {
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READDATA, source);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(sourceSize));
    }
    if (!method.empty())
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
    ReplyHeaders replyHeaders;
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &replyHeaders);
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    size_t shown = 0;
    if (sink) {
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, sink);
    } else if (!verbose) {
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    } else {
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, showBounded);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &shown);
    }
    if (verbose) {
        curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
        curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, debugTrace);
    }

    const CURLcode result = curl_easy_perform(curl);
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    int status;
    if (!replyHeaders.statusLine.empty()) {
        // "HTTP/1.1 507 Insufficient Storage": the code and the server's words.
        const size_t space = replyHeaders.statusLine.find(' ');
        std::fprintf(stderr, "reply: %s\n", space == std::string::npos ? "" : replyHeaders.statusLine.substr(space + 1).c_str());
        if (code == 401)
            for (const std::string& scheme : replyHeaders.schemes)
                std::fprintf(stderr, "authenticate: %s\n", scheme.c_str());
    }
    if (result != CURLE_OK) {
        std::fprintf(stderr, "curl: %d %s\n", static_cast<int>(result), trimmed(errorText[0] ? errorText : curl_easy_strerror(result)).c_str());
        status = statusOfCurl(result);
    } else {
        status = statusOfHTTP(code, method.empty() ? (source ? "PUT" : "GET") : method);
    }
    if (verbose)
        std::printf("* HTTP %ld, exit status %d\n", code, status);
    curl_slist_free_all(headerList);
    curl_easy_cleanup(curl);
    curl_global_cleanup();
    if (source)
        std::fclose(source);
    if (sink)
        std::fclose(sink);
    return status;
}
