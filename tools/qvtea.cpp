// qvtea: password protection of one generated page.
//
//   qvtea <page> <second name> - <prompt text> <submit label> <background colour>
//
// Run in the generated site's folder. The page is encrypted (AES-256-GCM,
// the key derived from the password with PBKDF2-HMAC-SHA256) and replaced,
// under its own name, by a prompt page that asks for the password and
// decrypts the page in the browser with WebCrypto. Menus keep linking to the
// page's own name. The password is read from standard input only (the third
// argument is "-" and stands for it), so it never shows in the process list
// or in a shell's history. The second name is the page's other file name;
// an old copy of the page under it is removed, so no open copy stays behind.
// A link under either name is never followed: the page is read only when it
// is a plain file, and its protected form replaces whatever is at its name.
//
// The key takes 600,000 rounds of PBKDF2-HMAC-SHA256 (the current guidance
// for it), so a guessed password costs an attacker as much as the browser.
// The output is deterministic: the salt comes from the second name (one per
// page) and the nonce from a keyed digest of the page, so an unchanged page
// encrypts to the same bytes and a changed page to another nonce.
//
// The protection is the browser's: the pictures of the page are not
// encrypted, and the prompt needs JavaScript and a secure context (https,
// or a local file).
//
// Exit status: 0 done; 1 usage; 2 the page cannot be read or written;
// 3 no password; 4 the encryption failed.

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/sha.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int iterations = 600000;

using Bytes = std::vector<unsigned char>;

bool isPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\\') == std::string::npos;
}

// The page is a name of the current folder: read only when it is a plain
// file, opened without following a link and without waiting for a pipe.
bool readFile(const std::string& path, std::string& contents)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat status {};
    bool read = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    contents.clear();
    char buffer[65536];
    for (ssize_t count = 0; read && (count = ::read(descriptor, buffer, sizeof buffer)) != 0;) {
        if (count < 0) {
            read = errno == EINTR;
            continue;
        }
        contents.append(buffer, size_t(count));
    }
    ::close(descriptor);
    return read;
}

bool writeAll(int descriptor, const std::string& contents)
{
    size_t written = 0;
    while (written < contents.size()) {
        const ssize_t count = ::write(descriptor, contents.data() + written, contents.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += size_t(count);
    }
    return true;
}

// Writes the page beside its place, as a new file (whatever lay under the
// temporary name is taken away, never written through), then renames it
// over the page: a link in the page's place is replaced, never followed.
bool writeFileReplacing(const std::string& path, const std::string& contents)
{
    const std::string temporary = path + ".qvtea-tmp";
    ::unlink(temporary.c_str());
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return false;
    // Every write and the close are checked: a full disk must not leave an
    // empty page in the place of the protected one.
    const bool written = writeAll(descriptor, contents);
    if (::close(descriptor) != 0 || !written) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::string base64(const Bytes& bytes)
{
    static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned value = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        text += table[(value >> 18) & 63];
        text += table[(value >> 12) & 63];
        text += table[(value >> 6) & 63];
        text += table[value & 63];
    }
    if (i + 1 == bytes.size()) {
        const unsigned value = bytes[i] << 16;
        text += table[(value >> 18) & 63];
        text += table[(value >> 12) & 63];
        text += "==";
    } else if (i + 2 == bytes.size()) {
        const unsigned value = (bytes[i] << 16) | (bytes[i + 1] << 8);
        text += table[(value >> 18) & 63];
        text += table[(value >> 12) & 63];
        text += table[(value >> 6) & 63];
        text += '=';
    }
    return text;
}

// Text for HTML content and attribute values.
std::string escapeHTML(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

// A CSS colour as the page template writes it ("#RRGGBB", a name); anything
// else becomes white.
std::string safeColour(const std::string& colour)
{
    if (colour.empty() || colour.size() > 32)
        return "#FFFFFF";
    for (const char c : colour)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '#'))
            return "#FFFFFF";
    return colour;
}

bool encrypt(const std::string& password, const std::string& saltSource, const std::string& page, Bytes& salt,
    Bytes& nonce, Bytes& sealed)
{
    unsigned char digest[SHA256_DIGEST_LENGTH];
    const std::string saltText = std::string("qvtea salt:") + saltSource;
    SHA256(reinterpret_cast<const unsigned char*>(saltText.data()), saltText.size(), digest);
    salt.assign(digest, digest + 16);

    unsigned char keys[64];
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(), static_cast<int>(salt.size()),
            iterations, EVP_sha256(), sizeof keys, keys) != 1)
        return false;

    unsigned char mac[EVP_MAX_MD_SIZE];
    unsigned int macLength = 0;
    if (!HMAC(EVP_sha256(), keys + 32, 32, reinterpret_cast<const unsigned char*>(page.data()), page.size(), mac,
            &macLength))
        return false;
    nonce.assign(mac, mac + 12);

    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    if (!context)
        return false;
    bool ok = EVP_EncryptInit_ex(context, EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1
        && EVP_CIPHER_CTX_ctrl(context, EVP_CTRL_GCM_SET_IVLEN, static_cast<int>(nonce.size()), nullptr) == 1
        && EVP_EncryptInit_ex(context, nullptr, nullptr, keys, nonce.data()) == 1;
    sealed.assign(page.size() + 16, 0);
    int length = 0;
    int total = 0;
    if (ok && !page.empty()) {
        ok = EVP_EncryptUpdate(context, sealed.data(), &length, reinterpret_cast<const unsigned char*>(page.data()),
                 static_cast<int>(page.size())) == 1;
        total = length;
    }
    if (ok) {
        ok = EVP_EncryptFinal_ex(context, sealed.data() + total, &length) == 1;
        total += length;
    }
    if (ok)
        ok = EVP_CIPHER_CTX_ctrl(context, EVP_CTRL_GCM_GET_TAG, 16, sealed.data() + total) == 1;
    EVP_CIPHER_CTX_free(context);
    OPENSSL_cleanse(keys, sizeof keys);
    sealed.resize(total + 16);
    return ok;
}

std::string promptPage(const std::string& prompt, const std::string& submit, const std::string& colour,
    const Bytes& salt, const Bytes& nonce, const Bytes& sealed)
{
    std::ostringstream html;
    html << "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">\n"
         << "<html>\n<head>\n"
         << "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\n"
         << "<meta name=\"robots\" content=\"noindex\">\n"
         << "<title>" << escapeHTML(prompt) << "</title>\n"
         << "<style type=\"text/css\">\n"
         << "body { background-color: " << colour << "; font-family: sans-serif; }\n"
         << "#qvform { margin: 80px auto; width: 340px; text-align: center; }\n"
         << "</style>\n"
         << "<script type=\"text/javascript\">\n<!--\n"
         << "var qvSealed = { salt: \"" << base64(salt) << "\", iv: \"" << base64(nonce) << "\", iterations: "
         << iterations << ",\n  data: \"" << base64(sealed) << "\" };\n"
         << "function qvBytes(text) {\n"
         << "  var raw = atob(text), bytes = new Uint8Array(raw.length);\n"
         << "  for (var i = 0; i < raw.length; i++) bytes[i] = raw.charCodeAt(i);\n"
         << "  return bytes;\n}\n"
         << "function qvSay(text) {\n"
         << "  var message = document.getElementById(\"qvmessage\");\n"
         << "  while (message.firstChild) message.removeChild(message.firstChild);\n"
         << "  message.appendChild(document.createTextNode(text));\n}\n"
         << "function qvOpen() {\n"
         << "  var field = document.getElementById(\"qvpassword\");\n"
         << "  if (!window.crypto || !window.crypto.subtle) {\n"
         << "    qvSay(\"This browser cannot open the page here (it needs a secure connection).\");\n"
         << "    return false;\n  }\n"
         << "  var subtle = window.crypto.subtle;\n"
         << "  subtle.importKey(\"raw\", new TextEncoder().encode(field.value), \"PBKDF2\", false, [\"deriveBits\"])\n"
         << "  .then(function (password) {\n"
         << "    return subtle.deriveBits({ name: \"PBKDF2\", salt: qvBytes(qvSealed.salt), iterations: qvSealed.iterations,"
            " hash: \"SHA-256\" }, password, 512);\n"
         << "  }).then(function (bits) {\n"
         << "    return subtle.importKey(\"raw\", new Uint8Array(bits).slice(0, 32), \"AES-GCM\", false, [\"decrypt\"]);\n"
         << "  }).then(function (key) {\n"
         << "    return subtle.decrypt({ name: \"AES-GCM\", iv: qvBytes(qvSealed.iv) }, key, qvBytes(qvSealed.data));\n"
         << "  }).then(function (page) {\n"
         << "    var text = new TextDecoder(\"utf-8\").decode(page);\n"
         << "    document.open();\n    document.write(text);\n    document.close();\n"
         << "  }, function () {\n"
         << "    qvSay(\"Wrong password\");\n    field.value = \"\";\n    field.focus();\n"
         << "  });\n"
         << "  return false;\n}\n"
         << "// -->\n</script>\n"
         << "</head>\n"
         << "<body onload=\"document.getElementById('qvpassword').focus();\">\n"
         << "<form id=\"qvform\" action=\"#\" onsubmit=\"return qvOpen();\">\n"
         << "<p>" << escapeHTML(prompt) << "</p>\n"
         << "<p><input type=\"password\" id=\"qvpassword\" name=\"qvpassword\" size=\"24\">\n"
         << "<input type=\"submit\" id=\"qvsubmit\" value=\"" << escapeHTML(submit) << "\"></p>\n"
         << "<p id=\"qvmessage\">&nbsp;</p>\n"
         << "<noscript><p>This page needs JavaScript.</p></noscript>\n"
         << "</form>\n"
         << "</body>\n</html>\n";
    return html.str();
}

} // namespace

int main(int argc, char** argv)
{
    // The password never comes as an argument: anyone on the machine can read those.
    if (argc != 7 || std::string(argv[3]) != "-") {
        std::cerr << "usage: qvtea <page> <second name> - <prompt text> <submit label> <background colour>\n"
                     "       (the password is read from standard input)\n";
        return 1;
    }
    const std::string page = argv[1];
    const std::string secondName = argv[2];
    std::string password;
    const std::string prompt = argv[4];
    const std::string submit = argv[5];
    const std::string colour = safeColour(argv[6]);
    if (!isPlainName(page) || !isPlainName(secondName) || page == secondName) {
        std::cerr << "qvtea: the page and its second name must be two plain file names of this folder\n";
        return 1;
    }
    password.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    if (password.empty()) {
        std::cerr << "qvtea: " << page << ": no password\n";
        return 3;
    }

    std::string contents;
    if (!readFile(page, contents)) {
        std::cerr << "qvtea: " << page << ": cannot read the page\n";
        return 2;
    }
    Bytes salt;
    Bytes nonce;
    Bytes sealed;
    const bool encrypted = encrypt(password, secondName, contents, salt, nonce, sealed);
    OPENSSL_cleanse(password.data(), password.size());
    if (!encrypted) {
        std::cerr << "qvtea: " << page << ": the encryption failed\n";
        return 4;
    }
    if (!writeFileReplacing(page, promptPage(prompt, submit, colour, salt, nonce, sealed))) {
        std::cerr << "qvtea: " << page << ": cannot write the protected page\n";
        return 2;
    }
    std::remove(secondName.c_str());
    return 0;
}
