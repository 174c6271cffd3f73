#include "platform/XmlCharacterSets.h"

#include "platform/ExceptionFrame.h"
#include "platform/StringTable.h"

#include <array>

namespace {

// The entity texts, in table order. The characters they stand for come from
// the string table, so that row i pairs with the i-th character there.
constexpr std::array<const char*, XmlCharacterSets::EntityCount> entityTexts = {
    "&iexcl;", "&cent;", "&pound;", "&yen;", "&sect;", "&uml;", "&copy;", "&ldquo;", "&not;", "&reg;",
    "&ordf;", "&deg;", "&plusmn;", "&acute;", "&micro;", "&para;", "&#149;", "&ordm;", "&rdquo;", "&iquest;",
    "&Agrave;", "&Aacute;", "&Acirc;", "&Atilde;", "&Auml;", "&AElig;", "&Ccedil;", "&Egrave;", "&Eacute;", "&Ecirc;",
    "&Euml;", "&Igrave;", "&Iacute;", "&Icirc;", "&Iuml;", "&ETH;", "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;",
    "&Otilde;", "&Ouml;", "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;", "&Uuml;", "&Yacute;", "&THORN;", "&szlig;",
    "&agrave;", "&aacute;", "&acirc;", "&atilde;", "&auml;", "&aring;", "&aelig;", "&ccedil;", "&egrave;", "&eacute;",
    "&ecirc;", "&euml;", "&igrave;", "&iacute;", "&icirc;", "&iuml;", "&eth;", "&ntilde;", "&ograve;", "&oacute;",
    "&ocirc;", "&otilde;", "&ouml;", "&divide;", "&oslash;", "&ugrave;", "&uacute;", "&ucirc;", "&uuml;", "&yacute;",
    "&thorn;", "&yuml;",
};

} // namespace

XmlCharacterSets::XmlCharacterSets(const QString& moreEscapeChars)
{
    lq::classFrame("XmlBase +initialize", [&] {
        lessThan = lq::CharacterSet::characters(u"<");
        greaterThan = lq::CharacterSet::characters(u">");
        slash = lq::CharacterSet::characters(u"/");
        quoteOrEquals = lq::CharacterSet::characters(u"\"=");
        quote = lq::CharacterSet::characters(u"\"");
        escapeTriggers = lq::CharacterSet::characters(u"\"&<>\n\t-");

        if (moreEscapeChars.size() < EntityCount) {
            lq::raise(QStringLiteral("Invalid Resource"),
                QStringLiteral("\"moreEscapeChars\" holds %1 characters, %2 are needed")
                    .arg(moreEscapeChars.size())
                    .arg(EntityCount));
        }
        entityCharacters = lq::CharacterSet::characters(moreEscapeChars);
        entityTable.reserve(EntityCount);
        for (int i = 0; i < EntityCount; ++i)
            entityTable.append({ moreEscapeChars.at(i), QString::fromLatin1(entityTexts[i]) });

        controlCharacters = lq::CharacterSet::controlCharacters().without(u"\n");
        nameCharacters = lq::CharacterSet::alphanumericCharacters().united(lq::CharacterSet::characters(u"-_:."));
        bullet = QString(QChar(0x2022));
    });
}

const XmlCharacterSets& XmlCharacterSets::shared()
{
    static const XmlCharacterSets sets(lq::localized(QStringLiteral("moreEscapeChars")));
    return sets;
}
