#include "model/XmlBase.h"

// Placeholder: replaced by the escaping implementation.
QString XmlBase::escape(const QString& text) { return text; }
QString XmlBase::unescape(const QString& text) { return text; }
QString XmlBase::escapeForDemo(const QString& run) { return run; }
QString XmlBase::javascriptEscape(const QString& text) { return text; }
QString XmlBase::doubleQuoteEscape(const QString& text) { return text; }
QString XmlBase::urlescape(const QString& text) { return text; }
QString XmlBase::urlunescape(const QString& text) { return text; }
QString XmlBase::paramEscape(const QString& text) { return text; }
QString XmlBase::magicLinkMaker(const QString& link) { return link; }
QString XmlBase::reverseWord(const QString& text) { return text; }
