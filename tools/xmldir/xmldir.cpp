// xmldir: lists the current folder as a digest tree.
//
//   xmldir <name>
//
// Writes to standard output one "QZD" element named <name> holding a "QZF"
// element (name and MD5 digest in lower-case hexadecimal) for every file
// directly inside the current folder, and to standard error a line
// "md5: <subfolder>:" for every folder directly inside it. Entries are
// sorted by name (byte order of their UTF-8 text); names are written as
// UTF-8 with the XML markup characters escaped. Hidden entries are listed
// like any other; symbolic links are left out, never followed (what one
// points at is not the folder's), and so is anything else that is neither
// a file nor a folder. Files are digested in
// parallel, each read once. Exit status 0, 1 for a usage error, 2 when the
// folder cannot be read; a file that cannot be read is left out and named
// on standard error ("xmldir: cannot read <name>").

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include <openssl/evp.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray xmlEscape(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += "&#" + QByteArray::number(static_cast<unsigned char>(c)) + ';';
            else
                out += c;
        }
    }
    return out;
}

struct Entry {
    QByteArray name;     // UTF-8
    QString path;
    QByteArray digest;   // hexadecimal; empty when the file could not be read
};

QByteArray digestOf(const QString& path)
{
    // The name is one of the current folder's: opened without following a
    // link put there meanwhile, without waiting for a pipe, and read only
    // when it is a plain file.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return QByteArray();
    QFile file;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)
        || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return QByteArray();
    }
    // OpenSSL's MD5 is its hand-tuned one: the digests are most of a listing's time.
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> hash(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!hash || EVP_DigestInit_ex(hash.get(), EVP_md5(), nullptr) != 1)
        return QByteArray();
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 count = file.read(buffer.data(), buffer.size());
        if (count < 0)
            return QByteArray();
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
    const QDir folder(QDir::currentPath());
    if (!folder.exists()) {
        std::fputs("xmldir: cannot read the current folder\n", stderr);
        return 2;
    }
    std::vector<Entry> files;
    std::vector<QByteArray> folders;
    const QFileInfoList entries = folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& info : entries) {
        const QByteArray name = info.fileName().toUtf8();
        if (info.isSymLink())
            continue;
        if (info.isDir())
            folders.push_back(name);
        else if (info.isFile())
            files.push_back({ name, info.filePath(), QByteArray() });
    }
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
                files[i].digest = digestOf(files[i].path);
        });
    }
    for (std::thread& worker : workers)
        worker.join();

    QByteArray out = "<QZD name=\"" + xmlEscape(QByteArray(argv[1])) + "\">\n";
    for (const Entry& file : files) {
        if (file.digest.isEmpty()) {
            std::fprintf(stderr, "xmldir: cannot read %s\n", file.name.constData());
            continue;
        }
        out += "<QZF name=\"" + xmlEscape(file.name) + "\" md5=\"" + file.digest + "\"/>\n";
    }
    out += "</QZD>\n";
    QByteArray err;
    for (const QByteArray& name : folders)
        err += "md5: " + name + ":\n";
    std::fwrite(err.constData(), 1, err.size(), stderr);
    std::fwrite(out.constData(), 1, out.size(), stdout);
    return 0;
}
