// xmldir: lists the current folder as a digest tree.
//
//   xmldir <name>
//
// Writes to standard output one "QZD" element named <name> holding a "QZF"
// element (name and MD5 digest in lower-case hexadecimal) for every file
// directly inside the current folder, and to standard error a line
// "md5: <subfolder>:" for every folder directly inside it. Entries are
// sorted by name (byte order of their UTF-8 text). Names are written
// exactly, in the form XmlD::escapedName gives (every character the
// program's element reader would take apart or drop as a hexadecimal
// reference, "&#x9;"): in the "md5:" lines too, so that no name can break
// a line. Hidden entries are listed like any other; symbolic links are
// never followed (what one points at is not the folder's): they are named
// as entries that cannot be listed. Files are digested in
// parallel, each read once. Exit status 0, 1 for a usage error, 2 when the
// folder cannot be read. An entry that cannot be listed is left out and
// named on standard error as "unread: <name>" followed by a tab and the
// reason: a file that cannot be read, a link, an entry that is neither a
// file nor a folder, a name that is not UTF-8 text (shown with its other bytes as
// "\xE9").

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <openssl/evp.h>

namespace {

// The name as XmlD::escapedName writes it (the program's element reader
// and XmlD::nameFromEscaped give it back): keep the two alike. Every
// character the reader would take apart or drop becomes a hexadecimal
// reference: markup, control and format characters, line separators, a
// blank or "=" at either end, a blank after a blank.
QByteArray escapedName(const QString& name)
{
    QString text;
    text.reserve(name.size() + 8);
    const auto reference = [&text](char32_t code) { text += QStringLiteral("&#x") + QString::number(code, 16).toUpper() + QLatin1Char(';'); };
    const auto isBlank = [](QChar c) { return c.category() == QChar::Separator_Space; };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(c, name.at(i + 1));
            if ((code & 0xFFFE) == 0xFFFE)
                reference(code);
            else
                text += name.mid(i, 2);
            ++i;
            continue;
        }
        bool refer = false;
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_NotAssigned:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            refer = true;
            break;
        default:
            break;
        }
        const char16_t u = c.unicode();
        const bool edge = i == 0 || i == name.size() - 1;
        refer = refer || u == '&' || u == '<' || u == '>' || u == '"' || u == 0xFFFE || u == 0xFFFF
            || (isBlank(c) && (edge || (i > 0 && isBlank(name.at(i - 1))))) || (edge && u == '=');
        if (refer)
            reference(u);
        else
            text += c;
    }
    return text.toUtf8();
}

// The bytes of a name that is no UTF-8 text, for a message: printable
// ASCII as it is, every other byte as "\xHH".
QByteArray shownBytes(const QByteArray& bytes)
{
    QByteArray shown;
    for (char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            shown += b;
        else
            shown += "\\x" + QByteArray::number(byte, 16).toUpper().rightJustified(2, '0');
    }
    return shown;
}

bool isUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoding happens when its result becomes a string.
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// A name's bytes as text, a byte-order mark at its start kept as the
// character of the name it is (QString::fromUtf8 would drop it).
QString nameFromUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

struct Entry {
    QByteArray name;     // UTF-8, for sorting
    QString path;        // the same name as text: the path below the current folder
    QByteArray digest;   // hexadecimal; empty when the file could not be read
    QByteArray why;      // why it could not be read
};

QByteArray digestOf(const QString& path, QByteArray* why)
{
    // The name is one of the current folder's: opened without following a
    // link put there meanwhile, without waiting for a pipe, and read only
    // when it is a plain file.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        *why = QByteArray(std::strerror(errno));
        return QByteArray();
    }
    QFile file;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)
        || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        *why = "it is no longer a plain file";
        return QByteArray();
    }
    // OpenSSL's MD5 is its hand-tuned one: the digests are most of a listing's time.
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> hash(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!hash || EVP_DigestInit_ex(hash.get(), EVP_md5(), nullptr) != 1)
        return QByteArray();
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 count = file.read(buffer.data(), buffer.size());
        if (count < 0) {
            *why = file.errorString().toUtf8();
            return QByteArray();
        }
        if (count == 0)
            break;
        if (EVP_DigestUpdate(hash.get(), buffer.constData(), static_cast<size_t>(count)) != 1)
            return QByteArray();
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_DigestFinal_ex(hash.get(), digest, &size) != 1)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char*>(digest), static_cast<int>(size)).toHex();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: xmldir <folder name>\n", stderr);
        return 1;
    }
    DIR* folder = ::opendir(".");
    if (!folder) {
        std::fputs("xmldir: cannot read the current folder\n", stderr);
        return 2;
    }
    std::vector<Entry> files;
    std::vector<QByteArray> folders;
    QByteArray unread;
    // The names as the file system holds them: a name that is no UTF-8
    // text is named as it is, never read under a name it does not have.
    while (const dirent* entry = ::readdir(folder)) {
        const QByteArray bytes(entry->d_name);
        if (bytes == "." || bytes == "..")
            continue;
        if (!isUtf8(bytes)) {
            unread += "unread: " + shownBytes(bytes) + "\tits name is not UTF-8 text\n";
            continue;
        }
        const QString name = nameFromUtf8(bytes);
        // The entry itself: a link is left out, never followed.
        struct stat info {};
        if (::fstatat(::dirfd(folder), bytes.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            unread += "unread: " + escapedName(name) + '\t' + QByteArray(std::strerror(errno)) + '\n';
            continue;
        }
        if (S_ISLNK(info.st_mode)) {
            unread += "unread: " + escapedName(name) + "\tit is a link, which is never followed\n";
            continue;
        }
        if (S_ISDIR(info.st_mode))
            folders.push_back(bytes);
        else if (S_ISREG(info.st_mode))
            files.push_back({ bytes, name, QByteArray(), QByteArray() });
        else
            unread += "unread: " + escapedName(name) + "\tit is neither a file nor a folder\n";
    }
    ::closedir(folder);
    std::sort(files.begin(), files.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    std::sort(folders.begin(), folders.end());

    // A few readers at once keep a disk (and the page cache) busy without
    // thrashing a spinning one.
    const unsigned threads = std::max(1u, std::min<unsigned>(4, std::thread::hardware_concurrency()));
    std::atomic<size_t> next { 0 };
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < std::min<size_t>(threads, files.size()); ++t) {
        workers.emplace_back([&] {
            for (size_t i = next++; i < files.size(); i = next++)
                files[i].digest = digestOf(files[i].path, &files[i].why);
        });
    }
    for (std::thread& worker : workers)
        worker.join();

    QByteArray out = "<QZD name=\"" + escapedName(nameFromUtf8(argv[1])) + "\">\n";
    for (const Entry& file : files) {
        if (file.digest.isEmpty()) {
            unread += "unread: " + escapedName(file.path) + '\t' + (file.why.isEmpty() ? QByteArray("it cannot be read") : file.why) + '\n';
            continue;
        }
        out += "<QZF name=\"" + escapedName(file.path) + "\" md5=\"" + file.digest + "\"/>\n";
    }
    out += "</QZD>\n";
    QByteArray err = unread;
    for (const QByteArray& name : folders)
        err += "md5: " + escapedName(nameFromUtf8(name)) + ":\n";
    std::fwrite(err.constData(), 1, err.size(), stderr);
    std::fwrite(out.constData(), 1, out.size(), stdout);
    return 0;
}
