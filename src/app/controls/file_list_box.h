// The list of the picture files in one folder, fixed when the list is made:
// one entry per plain file whose name matches the mask, a document glyph
// beside each name, in alphabetical order without regard to case.
#pragma once

#include <QListWidget>

#include <functional>

class TFileListBox : public QListWidget {
public:
    // The folder is the current directory at this moment.
    explicit TFileListBox(QWidget* parent);

    // "*.bmp": names ending so, in any case.
    void setMask(const QString& mask);
    // Makes the folder the current directory again and lists it anew, with
    // nothing selected.
    void Update();
    // The folder and the selected entry; empty when nothing is selected.
    QString FileName() const;

    std::function<void()> OnClick;    // the selection changed, by mouse or keys
    std::function<void()> OnDblClick; // an entry was double-clicked

    static constexpr int entryHeight = 26;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    QString directory;
    QString suffix; // what the mask asks names to end in
};
