#pragma once

#include "model/core/XmlBase.h"

// What the theme root and a theme of an earlier generation share: the
// element "theme" whose children are page templates only, the counters that
// number templates and Vorn Boxes (written as tseq and xseq), and the
// document folder of every element below it.
class XmlThemeRoot : public XmlBase {
public:
    QString elementName() const override;
    // Only page templates.
    bool canYouBeMyParent(XmlBase* child) override;
    // "tseq" and "xseq" as integers (text that is no number gives 0); the
    // rest goes to the base.
    void setAttributeTo(const QString& key, const QString& value) override;
    // The base's, then ` tseq="%d" xseq="%d"`; writing advances no counter.
    void appendAttributes(QString& xml) override;

    // --- Numbers ------------------------------------------------------------------
    // The next template number; the counter advances.
    int templateSeqNumber();
    // The next Vorn Box number; the counter advances.
    int vornboxSeqNumber();
    // Plain stores, without change notices.
    void setTemplateSeqNumber(int number) { template_sequence_number = number; }
    void setVornboxSeqNumber(int number) { vornbox_sequence_number = number; }
    // The counters as they stand, without taking a number.
    int peekTemplateSeqNumber() const { return template_sequence_number; }
    int peekVornboxSeqNumber() const { return vornbox_sequence_number; }

    // --- Document folder --------------------------------------------------------------
    // The folder; when it is set but missing, the user is told (every time)
    // and the path is answered all the same.
    QString rootDir() override;
    // A change.
    void setRootDir(const QString& path) override;

protected:
    explicit XmlThemeRoot(Key key);

    // The folder as it was set, unchecked ("" while none is set).
    const QString& storedRootDir() const { return _rootDir; }

private:
    QString _rootDir;
    int template_sequence_number = 0;
    int vornbox_sequence_number = 0;
};
