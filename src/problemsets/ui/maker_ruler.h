// The column ruler over the maker's editor.
#pragma once

#include <QWidget>

namespace keyrook {

class TPEditor;
struct MakerView;

// Column marks over the editor's text, following its horizontal scrolling; the caret's
// column is shaded.
class EditorRuler : public QWidget {
public:
    EditorRuler(TPEditor* editor, const MakerView& view, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    TPEditor* editor_;
    const MakerView& view_;
};

}  // namespace keyrook
