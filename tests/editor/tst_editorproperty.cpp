// Random sequences of edits applied both to the source editor and to a small
// reference model (a plain string with CR LF breaks); after every step the
// two must agree on text, positions, selection, lines, rows and columns.
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

using namespace tessera;

namespace {

const QString kBreak = QStringLiteral("\r\n");

struct Model {
  QString text;
  int anchor = 0;
  int caret = 0;

  int selStart() const { return std::min(anchor, caret); }
  int selEnd() const { return std::max(anchor, caret); }

  // A position between the CR and the LF of a break stands at the line end.
  int snap(int p) const {
    p = std::clamp(p, 0, int(text.size()));
    if (p > 0 && p < text.size() && text[p - 1] == QLatin1Char('\r') &&
        text[p] == QLatin1Char('\n'))
      --p;
    return p;
  }
  void select(int start, int length) {
    anchor = snap(start);
    caret = snap(start + length);
  }
  void replaceSelection(const QString& t) {
    const int s = selStart();
    text.replace(s, selEnd() - s, t);
    anchor = caret = s + int(t.size());
  }
  void backspace() {
    if (anchor != caret)
      return replaceSelection(QString());
    if (caret == 0)
      return;
    const int n = text.mid(caret - 2, 2) == kBreak ? 2 : 1;
    text.remove(caret - n, n);
    anchor = caret = caret - n;
  }
  void deleteForward() {
    if (anchor != caret)
      return replaceSelection(QString());
    if (caret == text.size())
      return;
    text.remove(caret, text.mid(caret, 2) == kBreak ? 2 : 1);
  }
};

// Display rows of the model's text, laid out afresh line by line with the
// editor's font, options and width.
struct ModelRows {
  QList<int> rowStarts; // model positions, the empty line after a final break included
  int count = 0;        // the editor's line count, which leaves that line out

  ModelRows(const Model& m, const SourceEditor& e) {
    const bool wrap = e.lineWrapMode() != QPlainTextEdit::NoWrap;
    const QTextDocument* doc = e.document();
    const qreal width = e.viewport()->width() - 2 * doc->documentMargin();
    int lineStart = 0;
    const QStringList lines = m.text.split(kBreak);
    for (const QString& line : lines) {
      if (!wrap) {
        rowStarts.append(lineStart);
      } else {
        QTextLayout layout(line, doc->defaultFont());
        layout.setTextOption(doc->defaultTextOption());
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
          l.setLineWidth(width);
          rowStarts.append(lineStart + l.textStart());
        }
        layout.endLayout();
        if (line.isEmpty() && (rowStarts.isEmpty() || rowStarts.last() != lineStart))
          rowStarts.append(lineStart);
      }
      lineStart += int(line.size()) + 2;
    }
    count = int(rowStarts.size()) - (lines.size() > 1 && lines.last().isEmpty() ? 1 : 0);
  }
  int rowOf(int p) const {
    return int(std::upper_bound(rowStarts.begin(), rowStarts.end(), p) - rowStarts.begin()) - 1;
  }
};

// Real key events for every character, accented ones included.
void typeText(QWidget* w, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 128)
      QTest::keyClick(w, c.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

} // namespace

class EditorPropertyTest : public QObject {
  Q_OBJECT
private slots:
  void randomEditsAgree_data();
  void randomEditsAgree();
};

void EditorPropertyTest::randomEditsAgree_data() {
  QTest::addColumn<quint32>("seed");
  QTest::addColumn<int>("steps");
  const QByteArray fromEnv = qgetenv("TESSERA_SEED");
  if (!fromEnv.isEmpty()) {
    QTest::newRow("from TESSERA_SEED") << fromEnv.toUInt() << 3000;
    return;
  }
  for (quint32 seed : {1u, 2u, 3u, 20261208u})
    QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed << 1500;
}

void EditorPropertyTest::randomEditsAgree() {
  QFETCH(quint32, seed);
  QFETCH(int, steps);
  QRandomGenerator rng(seed);
  SourceEditor e;
  e.resize(320, 240);
  e.show();
  QVERIFY(QTest::qWaitForWindowExposed(&e));
  Model m;
  e.textDocument().replaceWholeText(QString());

  const auto randomText = [&](bool breaks) {
    static const QString alphabet = QStringLiteral("abc xyz WML,.\u00e9\u00a0");
    QString t;
    const int n = rng.bounded(0, 40);
    for (int i = 0; i < n; ++i) {
      const int r = rng.bounded(20);
      if (breaks && r == 0)
        t += kBreak;
      else if (breaks && r == 1)
        t += QLatin1Char('\n');
      else if (breaks && r == 2)
        t += QLatin1Char('\r');
      else if (r == 3)
        t += QString(rng.bounded(30, 120), QLatin1Char('w')); // a word longer than a row
      else
        t += alphabet[rng.bounded(int(alphabet.size()))];
    }
    return t;
  };
  const auto normalised = [](QString t) {
    t.replace(kBreak, QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.replace(QLatin1Char('\n'), kBreak);
  };

  QString log;
  bool undoArmed = false; // only the user's typing since the last program edit is on the stack
  QString beforeTyping;
  for (int step = 0; step < steps; ++step) {
    const int op = rng.bounded(12);
    QString what;
    switch (op) {
    case 0:
    case 1: { // the user types, maybe an Enter
      const bool fresh = !undoArmed;
      if (fresh)
        beforeTyping = m.text;
      const QString typed = randomText(false).left(6);
      typeText(&e, typed);
      if (!typed.isEmpty())
        m.replaceSelection(typed);
      if (rng.bounded(3) == 0) {
        QTest::keyClick(&e, Qt::Key_Return);
        m.replaceSelection(kBreak);
      }
      what = QStringLiteral("type");
      // Undo right after typing that followed a program edit: back to the
      // text before it, and Undo again brings the typing back.
      if (fresh && rng.bounded(3) == 0 && m.text != beforeTyping) {
        const QString typedText = m.text;
        e.undoStep();
        QCOMPARE(e.textDocument().wholeText(), beforeTyping);
        e.undoStep();
        QCOMPARE(e.textDocument().wholeText(), typedText);
        m.anchor = m.caret = e.cursorPosition().value; // where the redo leaves the caret
        what += QStringLiteral("+undo");
      }
      undoArmed = true;
      break;
    }
    case 2: {
      const bool back = rng.bounded(2);
      QTest::keyClick(&e, back ? Qt::Key_Backspace : Qt::Key_Delete);
      back ? m.backspace() : m.deleteForward();
      undoArmed = true;
      what = QStringLiteral("delete key");
      break;
    }
    case 3:
    case 4: { // a program insertion
      const QString t = randomText(true);
      e.insertAtCaret(t);
      m.replaceSelection(normalised(t));
      undoArmed = false;
      QVERIFY(!e.textDocument().canUndoStep());
      what = QStringLiteral("insert");
      break;
    }
    case 5:
    case 6: { // a selection, either direction
      const int len = int(m.text.size());
      const int s = rng.bounded(len + 1);
      const int l = rng.bounded(-s, len - s + 1);
      e.setSelection(tessera::TextPosition(s), l);
      m.select(s, l);
      what = QStringLiteral("select %1 %2").arg(s).arg(l);
      break;
    }
    case 7: { // move back within the text before the caret
      const int n = rng.bounded(m.selStart() + 1);
      e.moveCaretBack(n);
      m.select(m.selStart() - n, 0);
      what = QStringLiteral("back %1").arg(n);
      break;
    }
    case 8: // the view changes: width, wrap, font size
      if (rng.bounded(2))
        e.resize(rng.bounded(120, 700), 240);
      else if (rng.bounded(2))
        e.setLineWrapMode(e.lineWrapMode() == QPlainTextEdit::NoWrap ? QPlainTextEdit::WidgetWidth
                                                                     : QPlainTextEdit::NoWrap);
      else {
        QFont f = e.font();
        f.setPointSize(f.pointSize() == 12 ? 10 : 12);
        e.setFont(f);
      }
      QCoreApplication::processEvents();
      what = QStringLiteral("view");
      break;
    case 9:
      if (rng.bounded(8) == 0) {
        const QString t = normalised(randomText(true) + randomText(true));
        e.textDocument().replaceWholeText(t);
        m.text = t;
        m.anchor = m.caret = 0;
        undoArmed = false;
        what = QStringLiteral("replace all");
      }
      break;
    default: // just look
      break;
    }
    log += what + QLatin1Char(';');

    const auto context = [&] {
      return qPrintable(
          QStringLiteral("seed %1 step %2 (%3)").arg(seed).arg(step).arg(log.right(200)));
    };
    if (e.textDocument().wholeText() != m.text) {
      int d = 0;
      while (d < m.text.size() && d < e.textDocument().wholeText().size() &&
             m.text[d] == e.textDocument().wholeText()[d])
        ++d;
      qWarning() << "differ at" << d << e.textDocument().wholeText().mid(d - 10, 30)
                 << m.text.mid(d - 10, 30) << e.textDocument().wholeText().size() << m.text.size();
    }
    QVERIFY2(e.textDocument().wholeText() == m.text, context());
    QVERIFY2(e.textDocument().textLength() == m.text.size(), context());
    QVERIFY2(e.selectionStart().value == m.selStart(), context());
    QVERIFY2(e.selectionLength() == m.selEnd() - m.selStart(), context());
    QVERIFY2(e.cursorPosition().value == m.caret, context());
    QVERIFY2(e.selectedText() == m.text.mid(m.selStart(), m.selEnd() - m.selStart()), context());

    const ModelRows rows(m, e);
    QVERIFY2(e.lineCount() == rows.count, context());
    const int probe = rng.bounded(rows.count);
    QVERIFY2(e.lineStart(probe).value == rows.rowStarts[probe], context());
    const int p = m.snap(rng.bounded(int(m.text.size()) + 1));
    QVERIFY2(e.lineOfPosition(tessera::TextPosition(p)) == rows.rowOf(p), context());
    const int row = rows.rowOf(m.selEnd());
    const RowColumn expected{row, m.selEnd() - rows.rowStarts.value(rows.rowOf(m.caret), 0)};
    if (!(e.rowColumn() == expected))
      qWarning() << "rowcol" << e.rowColumn().row << e.rowColumn().column << "expected"
                 << expected.row << expected.column << "rows" << rows.rowStarts << "text" << m.text
                 << m.anchor << m.caret << "wrap" << e.lineWrapMode() << e.viewport()->width();
    QVERIFY2(e.rowColumn() == expected, context());
  }
}

QTEST_MAIN(EditorPropertyTest)
#include "tst_editorproperty.moc"
