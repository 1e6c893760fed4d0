#pragma once

#include "imaging/engine/text.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

class QPainter;

namespace imaging {
class Raster;
}

namespace core {

// Drawn when a caption's font name is empty, and stored back.
inline constexpr char16_t kDefaultCaptionFont[] = u"ＭＳ Ｐゴシック";
// Points; a size of 0 is drawn at this size and stored back.
inline constexpr std::int16_t kDefaultCaptionFontSize = 12;

// One text laid over the portrait. Field names are the companion file's and the history's.
//
// The seven text settings are what the text dialog edits and the text drawing consumes
// (see captionTextStyle()); the system reads only TextSettingE and TextSettingF itself,
// when it sizes the box:
//
//   TextSettingA  layout flags:
//                   bits 0-1  horizontal placement in the box: 0 left, 1 centre, 2 right
//                             (3 is taken as left)
//                   bits 2-3  vertical placement: 0 top, 1 centre, 2 bottom (3: top)
//                   bit 4     word wrap at the box's width
//                   bit 5     opaque: the box is filled with TextSettingC first
//   TextSettingB  text colour, 0x00RRGGBB (the top byte is ignored)
//   TextSettingC  background colour, 0x00RRGGBB, used only when bit 5 of A is set
//   TextSettingD  effect colour (shadow or rim), 0x00RRGGBB
//   TextSettingE  extra box width in pixels: room for the effect (the depth for a
//                 shadow, twice the depth for a rim); added when the box is sized
//   TextSettingF  extra box height in pixels, likewise
//   TextSettingG  effect: low byte the kind (0 none, 1 shadow, 2 rim; others: none),
//                 high byte the depth in pixels (the engine clamps it to 0..16)
//
// All zeros is plain black text at the box's top-left, which is what a new caption gets.
struct CaptionEntry {
    QString Text;  // empty = no caption
    std::int16_t TextSettingA = 0;
    QString FontName;            // empty: drawn in kDefaultCaptionFont
    std::int16_t FontSize = 0;   // points; 0: drawn at 12
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontStrikethrough = false;
    std::int32_t TextSettingB = 0;
    std::int32_t TextSettingC = 0;
    std::int32_t TextSettingD = 0;
    std::int16_t TextSettingE = 0;
    std::int16_t TextSettingF = 0;
    std::int16_t TextSettingG = 0;
    std::int16_t BoxWidth = 0;  // the box on the canvas, in pixels
    std::int16_t BoxHeight = 0;
    std::int16_t BoxLeft = 0;
    std::int16_t BoxTop = 0;
    bool Shown = false;  // drawn and printed

    friend bool operator==(const CaptionEntry&, const CaptionEntry&) = default;
};

// The five captions. Numbers are 1-based, as the dialog's buttons "1" to "5" show them.
struct CaptionTable {
    static constexpr int kCount = 5;
    std::array<CaptionEntry, kCount> entries{};

    // number 1..5 (asserted)
    CaptionEntry& operator[](int number);
    const CaptionEntry& operator[](int number) const;

    friend bool operator==(const CaptionTable&, const CaptionTable&) = default;
};

// What the caption drawing and the text dialog share besides the table.
struct CaptionDrawState {
    // The caption being edited in the open text dialog (1..5), 0 while it is closed. Its
    // box is sized from its text at every redraw; the others keep their stored size.
    int CurrentCaption = 0;
    // The text dialog's last position in twips; (0, 0) until it was first closed.
    QPoint TextDialogPos;
    // Set by the picture export: the next Disp_Character draws into the picture itself.
    bool BurnCaptions = false;
    // Set by Disp_Character: the editor's repaint draws the captions on the display.
    bool CaptionsOnScreen = false;
};

// Where the text dialog opens: its last position, or (6650, 4650) twips the first time.
QPoint textDialogPosition(const CaptionDrawState& state);

// The engine's style for a caption, with the settings mapped as described above. An empty
// font name and a size of 0 are taken as the defaults (the entry is not changed).
imaging::TextStyle captionTextStyle(const CaptionEntry& caption);

// The box size a caption's text needs: the measured text plus TextSettingE and half an
// average character in width, plus TextSettingF and a tenth in height.
QSize captionBoxSize(const CaptionEntry& caption);

// Keeps the box on the canvas: a box wider than the canvas goes to the left edge, one
// that reaches past the right edge is moved back to it; a box partly off the left edge
// stays where it is. Likewise for the height. The stored position is updated.
void placeCaptionBox(CaptionEntry& caption, QSize canvas);

// Prepares every shown caption for drawing: stores the default font name and size when
// they are empty, sizes the box of state.CurrentCaption from its text, and places each box
// with placeCaptionBox(). Afterwards each shown caption's stored box is where it is drawn.
void layoutCaptions(CaptionTable& captions, const CaptionDrawState& state, QSize canvas);

// The caption drawing that follows the parts. Lays out the captions on a canvas of the
// picture's size; with BurnCaptions set it draws them into `picture`, otherwise the
// editor's repaint draws them on the display (paintCaptions). Then clears BurnCaptions
// and sets CaptionsOnScreen. Without fonts (no GUI application) nothing is drawn; with an
// empty picture the captions are left as they are. The caller repaints the canvas, which
// also removes text shown earlier on the display only.
void Disp_Character(CaptionTable& captions, CaptionDrawState& state, imaging::Raster& picture);

// The printing twin of Disp_Character: draws every shown caption into `picture` in its box
// exactly as stored (nothing measured or moved), storing the default font name and size
// back into the table where they are empty. Without fonts nothing is drawn.
void Disp_Character2(CaptionTable& captions, imaging::Raster& picture);

// Display only: draws the shown captions in their stored boxes on `painter`, one unit being
// one canvas pixel. Call after Disp_Character, which stored the boxes.
void paintCaptions(QPainter& painter, const CaptionTable& captions);

// The text dialog's rules. Each leaves the redraw and the snapshot to the caller, which
// after ＯＫ, 消去 and an arrow move redraws (Disp_Character) and records a snapshot.

// Texts and font name empty, numbers 0, flags false.
void clearCaption(CaptionEntry& caption);
// The dialog's text box changed: the caption takes its text; an empty text hides it.
void setCaptionText(CaptionEntry& caption, const QString& text);
// "ＯＫ": a caption with text is shown; one without is cleared.
void confirmCaption(CaptionEntry& caption);
// "消去" is clearCaption() and an empty text box.

// The arrow buttons "←", "↑", "↓", "→" (Command4 0 to 3).
enum class CaptionArrow { Left = 0, Up = 1, Down = 2, Right = 3 };

// One step of a held arrow: when the box is within its limit it moves 5 pixels and true
// comes back; at the limit nothing moves. Left and up go on while the box's left or top is
// not negative, so a box can end up to 5 pixels off the canvas; right and down stop when
// the box touches the far edge (the redraw clamps what overshoots).
bool stepCaption(CaptionEntry& caption, CaptionArrow arrow, QSize canvas);

// The whole held-button loop: while `held()` and the limit allows, step, let pending events
// run (`redraw` is expected to do that and Disp_Character). The arrows work only on a
// shown caption. Returns the number of steps; the caller records a snapshot afterwards.
int moveCaptionWhileHeld(CaptionEntry& caption, CaptionArrow arrow, QSize canvas,
                         const std::function<bool()>& held,
                         const std::function<void()>& redraw);

}  // namespace core
