#include "pipeline/SiteCopy.h"

#include "model/core/XmlBase.h"
#include "model/feed/XmlRSS.h"
#include "model/site/XmlHomePage.h"
#include "model/site/XmlSite.h"
#include "theme/XmlTheme.h"
#include "templates/XmlStyleSheet.h"

namespace {

// Every element of the tree in the order of the walks, each before what it
// holds, with its depth.
void collectIdentities(XmlBase& element, int depth, std::vector<SiteCopy::Identity>& identities)
{
    identities.push_back({ element.elementName(), element.UUID(), depth });
    for (const XmlBasePtr& part : element.walkedElements())
        collectIdentities(*part, depth + 1, identities);
}

std::vector<SiteCopy::Identity> identitiesOf(XmlBase* root)
{
    std::vector<SiteCopy::Identity> identities;
    if (root)
        collectIdentities(*root, 0, identities);
    return identities;
}

// Gives each element of the copy the UUID of its original, walking both in
// the same order. An original that was not written (an element made anew
// whenever its tree is read, such as the mirror of the user's files) is
// passed over with everything below it; a copied element without an
// original means the copy is not the same tree.
class Adoption {
public:
    explicit Adoption(const std::vector<SiteCopy::Identity>& originals)
        : _originals(originals)
    {
    }

    bool adopt(XmlBase& copy, int depth)
    {
        while (_next < _originals.size()
            && (_originals[_next].depth > depth || (_originals[_next].depth == depth && _originals[_next].name != copy.elementName())))
            ++_next;
        if (_next == _originals.size() || _originals[_next].depth != depth)
            return false;
        copy.adoptUUID(_originals[_next].uuid);
        ++_next;
        for (const XmlBasePtr& part : copy.walkedElements())
            if (!adopt(*part, depth + 1))
                return false;
        return true;
    }

private:
    const std::vector<SiteCopy::Identity>& _originals;
    std::size_t _next = 0;
};

std::shared_ptr<XmlBase> copyOf(const QString& text, const QString& rootDir, const std::vector<SiteCopy::Identity>& originals)
{
    if (text.isEmpty())
        return nullptr;
    std::shared_ptr<XmlBase> copy = XmlBase::createWithXmlRootDir(text, rootDir);
    if (!copy || !Adoption(originals).adopt(*copy, 0))
        return nullptr;
    return copy;
}

} // namespace

SiteCopy::Snapshot SiteCopy::take(DocumentBase& document)
{
    Snapshot snapshot;
    XmlSite* site = document.site();
    XmlTheme* theme = document.theme();
    XmlRSS* feed = document.rss();
    if (!site || !theme)
        return snapshot;
    snapshot.rootDir = site->rootDir();
    snapshot.site = site->createXml();
    snapshot.theme = theme->createXml();
    snapshot.feed = feed ? feed->createXml() : QString();
    snapshot.siteElements = identitiesOf(site);
    snapshot.themeElements = identitiesOf(theme);
    snapshot.feedElements = identitiesOf(feed);
    snapshot.testMode = document.testMode();
    snapshot.globalIndex = document.globalIndex();
    return snapshot;
}

std::unique_ptr<SiteCopy> SiteCopy::make(const Snapshot& snapshot)
{
    std::unique_ptr<SiteCopy> copy(new SiteCopy);
    copy->_testMode = snapshot.testMode;
    copy->_globalIndex = snapshot.globalIndex;
    copy->_site = copyOf(snapshot.site, snapshot.rootDir, snapshot.siteElements);
    copy->_theme = copyOf(snapshot.theme, snapshot.rootDir, snapshot.themeElements);
    copy->_feed = snapshot.feed.isEmpty() ? nullptr : copyOf(snapshot.feed, QString(), snapshot.feedElements);
    XmlSite* site = dynamic_cast<XmlSite*>(copy->_site.get());
    XmlTheme* theme = dynamic_cast<XmlTheme*>(copy->_theme.get());
    if (!site || !theme || (!snapshot.feed.isEmpty() && !dynamic_cast<XmlRSS*>(copy->_feed.get())))
        return nullptr;
    site->setDocument(copy.get());
    theme->setDocument(copy.get());
    if (XmlRSS* feed = copy->rss())
        feed->setDocument(copy.get());
    // What opening the document does besides reading: each page knows its
    // template by the template's UUID.
    for (const auto& sheet : theme->childrenOfType<XmlStyleSheet>())
        site->setTemplateForUUID(sheet->templateSeqNum(), sheet->UUID());
    copy->_suppressedChanges = 0;
    copy->_disturbed = false;
    return copy;
}

SiteCopy::~SiteCopy()
{
    // The trees go before the document they ask.
    if (XmlSite* site = dynamic_cast<XmlSite*>(_site.get()))
        site->setDocument(nullptr);
    if (XmlTheme* theme = dynamic_cast<XmlTheme*>(_theme.get()))
        theme->setDocument(nullptr);
    if (XmlRSS* feed = rss())
        feed->setDocument(nullptr);
}

void SiteCopy::updateChangeCount(int changeKind)
{
    // The model's own setters run while page writing holds the changes
    // back; a change that counts would mark the open document edited.
    if (_suppressedChanges == 0 && changeKind == ChangeDone)
        _disturbed = true;
}

void SiteCopy::falseAlarm(bool suppress)
{
    _suppressedChanges += suppress ? 1 : -1;
}

XmlSite* SiteCopy::site()
{
    return dynamic_cast<XmlSite*>(_site.get());
}

XmlStyleSheet* SiteCopy::defaultTemplate()
{
    XmlTheme* sheets = theme();
    return sheets ? dynamic_cast<XmlStyleSheet*>(sheets->firstChild().get()) : nullptr;
}

PageTemplate* SiteCopy::defaultPageTemplate()
{
    return defaultTemplate();
}

QList<std::shared_ptr<XmlBase>> SiteCopy::webItems()
{
    XmlSite* copied = site();
    XmlHomePage* home = copied ? copied->homepage() : nullptr;
    return home ? home->webItems() : QList<std::shared_ptr<XmlBase>>();
}

XmlTheme* SiteCopy::theme() const
{
    return dynamic_cast<XmlTheme*>(_theme.get());
}

XmlRSS* SiteCopy::rss() const
{
    return dynamic_cast<XmlRSS*>(_feed.get());
}

std::shared_ptr<XmlD> SiteCopy::createXmlD(const QString&)
{
    _disturbed = true;
    return nullptr;
}

QList<FileDigest> SiteCopy::fileDigests(const QString&)
{
    _disturbed = true;
    return {};
}

std::shared_ptr<XmlD> SiteCopy::lastXmlD(QString*)
{
    _disturbed = true;
    return nullptr;
}
