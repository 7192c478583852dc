#pragma once
// The settings of the drawing tools. The tool options window (TForm22) edits
// them and the tools read them at each press, so a change takes effect at the
// next press; nothing here is saved between runs. The defaults are the
// window's initial values.
#include "graphics/Bitmap.h"
#include "graphics/CanvasTypes.h"
#include "graphics/Font.h"

#include <array>
#include <optional>
#include <string>

namespace px {

// A closed figure's page of the options window: pen width track bar, line
// type, fill and "Bicolore".
struct FigureOptions {
    int penWidth = 1;                    // 1..20
    PenStyle penStyle = PenStyle::Solid; // only honoured at width 1
    bool solidFill = false;              // "Solide"; false is "Transparent" (hollow brush)
    bool bicolour = false;               // fill with the other colour instead of the press colour
};

enum class EraserShape { Square, Round }; // pen width 5 or 10
enum class SprayShape { Square, Round };

struct ToolOptions {
    // "Crayon": TrackBar1.
    int crayonWidth = 1; // 1..100

    // "Ligne": Edit1 with UpDown1, ComboBox1.
    int lineWidth = 1; // 1..200
    PenStyle lineStyle = PenStyle::Solid;

    FigureOptions rectangle; // TrackBar3, ComboBox2, ComboBox4, CheckBox2
    FigureOptions roundRect; // TrackBar5, ComboBox10, ComboBox6, CheckBox4
    FigureOptions ellipse;   // TrackBar4, ComboBox9, ComboBox5, CheckBox3
    FigureOptions square;    // TrackBar2, ComboBox12, ComboBox11, CheckBox6
    FigureOptions circle;    // TrackBar6, ComboBox17, ComboBox16, CheckBox7

    // "Gomme": ComboBox15.
    EraserShape eraser = EraserShape::Round;

    // "Remplissage": ComboBox19.
    FloodFillMode fillMode = FloodFillMode::Surface;

    // "Aérographe": ComboBox3 gives 1..9 for "Style 1".."Style 9" and
    // kCustomAirbrushStyle for "Personnalisé", whose dabs are the checked
    // cells of the 5 x 5 grid Chec1..Chec25 (row-major, Chec13 the centre).
    static constexpr int kCustomAirbrushStyle = 10;
    int airbrushStyle = 1;
    std::array<bool, 25> airbrushCells{};

    // "Spray": ComboBox18 and Edit3 with UpDown2. The diameter is what the
    // edit holds; no value while its text is not an integer.
    SprayShape sprayShape = SprayShape::Round;
    std::optional<int> sprayDiameter = 20; // 0..500 through the up-down
    std::string sprayDiameterText = "20";

    // "Tampon": the picture of Imagetamp, drawn at its own size. The options
    // window gives it its default picture.
    Bitmap stamp;

    // "Texte": the line of the text window's preview and its font; the text
    // is always written in the main colour.
    std::string text;
    FontSpec font = defaultTextFont();

    // The text window's own font (8 points, 11 pixels high at 96 dots per
    // inch), which the preview starts with.
    static FontSpec defaultTextFont()
    {
        FontSpec f;
        f.pointSize = 8;
        return f;
    }
};

} // namespace px
