#pragma once

#include "settings/LanguageText.h"

#include <array>

// Every text of the program that differs by language, and nothing else: the texts that are
// the same in both languages live with the code that shows them.
namespace Texts {

enum class Property { Caption, Hint };

// A language-dependent property of a control of the main window, named by its object name.
struct InterfaceText {
    const char* control;
    Property property;
    LanguageText text;
};

// The main window's fixed texts, in the order they are set at first show and at each switch
// of language.
inline constexpr std::array<InterfaceText, 16> MainWindow{{
    {"Label10", Property::Caption, {"Fichier original", "Original file"}},
    {"Label11", Property::Caption, {"Fichier modifié", "Modified file"}},
    {"Label2", Property::Caption, {"Choix qualité jpeg", "Jpeg quality adjust"}},
    {"TrackBar1",
     Property::Hint,
     {"Déplacez le curseur pour modifier le taux de compression jpg",
      "Drag cursor to adjust jpg compression"}},
    {"ProgressBar2",
     Property::Hint,
     {"Indique la quantité de mémoire physique disponible", "Indicates available physical memory"}},
    {"BitBtn1", Property::Hint, {"Charger un fichier BMP ou JPG", "Load a BMP or JPG file"}},
    {"BitBtn2", Property::Hint, {"Coin supérieur gauche", "Top left corner"}},
    {"BitBtn3", Property::Hint, {"Adaptation à la taille écran", "Fit to screen"}},
    {"BitBtn4",
     Property::Hint,
     {"Rotation et sauvegarde du fichier jpg modifié", "Rotate and save modified jpg file"}},
    {"BitBtn5", Property::Hint, {"Aide", "Help"}},
    {"BitBtn9",
     Property::Hint,
     {"Rotation et sauvegarde sans perte \nde qualité du fichier bmp/jpg d'origine",
      "Rotate and save original bmp/jpg  (lossless)"}},
    {"BitBtn1", Property::Caption, {"Charger fichier", "Load file"}},
    {"BitBtn4", Property::Caption, {"Sauvegarder jpg", "Save jpg as"}},
    {"BitBtn9", Property::Caption, {"Rotation original", "Rotate original"}},
    {"Image1", Property::Hint, {"Image d'origine", "Original picture"}},
    {"Image2",
     Property::Hint,
     {"Double-cliquez pour une image taille réelle", "Double click for a  full-size picture"}},
}};

// Texts built while the program works, chosen at the moment they are shown.
inline constexpr LanguageText OpenDialogTitle{"Choix du fichier Jpg ou Bmp",
                                              "Choose the Jpg or Bmp file"};
inline constexpr LanguageText SizeUnit{"  Ko", "  Kb"};
inline constexpr LanguageText QualityAfterLoad{"  Qualité jpeg = 100 % ",
                                               "  Jpeg Quality = 100 % "};
inline constexpr LanguageText QualityPrefix{"  Qualité jpeg = ", "  Jpeg Quality = "};
inline constexpr LanguageText ViewerCaptionSuffix{"     [Taille réelle]", "     [Real size]"};
inline constexpr LanguageText FitToScreenHint{"Adaptation à la taille écran", "Fit to screen"};
inline constexpr LanguageText RealSizeHint{"Taille réelle", "Real size"};
inline constexpr LanguageText SaveDialogTitle{"Sauvegarder le fichier Jpg en...",
                                              "Save the Jpg file as..."};
inline constexpr LanguageText SaveOverOriginalRefused{
    "Désolé, la sagesse impose de ne pas écraser son fichier original.",
    "Sorry, wisdom ask not to overwrite your original file."};
inline constexpr LanguageText RotatedJpgDialogTitle{"Sauvegarder le nouveau fichier Jpg en...",
                                                    "Save the new Jpg file as..."};
inline constexpr LanguageText RotatedBmpDialogTitle{"Sauvegarder le nouveau fichier Bmp en...",
                                                    "Save the new Bmp file as..."};
inline constexpr LanguageText CopyError{"Erreur de recopie", "Copy error"};
inline constexpr LanguageText RotateOverOriginalRefused{
    "Désolé, la sagesse impose de ne pas écraser son fichier original.",
    "Sorry, wisdom asks not to overwrite your original file."};
inline constexpr LanguageText TrimHint{"Retailler l'image si necessaire",
                                       "Crop image if needed (not lossless)"};
inline constexpr LanguageText RotateHint{"Faire tourner l'image actuelle par pas de 90°",
                                         "Rotate current image by steps of 90°"};
inline constexpr LanguageText SaveCurrentHint{"Sauvegarder l'image actuelle", "Save current image"};
inline constexpr LanguageText RotationFailed{"Erreur durant la rotation", "Rotation fail"};
inline constexpr LanguageText RenameFailed{"Erreur durant modification du nom", "Rename failure"};
inline constexpr LanguageText FreeMemoryPrefix{"Mémoire libre = ", "Free Memory = "};
inline constexpr LanguageText FreeMemoryUnit{" Mo", " Mb"};
inline constexpr LanguageText ViewerHint{"Double-cliquez pour fermer cette fenêtre",
                                         "Double click to close this window"};

// What the viewer shows instead of the recompressed picture, named in its corner.
inline constexpr LanguageText ViewerShowsOriginal{"Originale", "Original"};
inline constexpr LanguageText ViewerShowsDifference{"Différence × 8", "Difference × 8"};

// The tooltip of the compressed-size readout: the similarity score and the new size as a
// share of the loaded file's, after a warning when the new file would be the larger.
inline constexpr LanguageText ShareOfOriginal{" % du fichier original", " % of the original file"};
inline constexpr LanguageText LargerThanOriginal{"Plus gros que le fichier original",
                                                 "Larger than the original file"};

// The quality slider's context menu: the highest quality whose file fits a size.
inline constexpr LanguageText SizeSearchItem{"Meilleure qualité sous une taille…",
                                             "Highest quality under a size…"};
inline constexpr LanguageText SizeSearchPrompt{"Taille maximale du fichier, en Ko :",
                                               "Largest file size, in Kb:"};
// %1 is the size typed, in kibibytes.
inline constexpr LanguageText SizeSearchNothingFits{
    "Même à la qualité 0 %, le fichier dépasse %1 Ko.",
    "Even at quality 0 %, the file is larger than %1 Kb."};

// The slider's context menu: whether saved files keep the photo's EXIF details and XMP.
inline constexpr LanguageText KeepDetailsItem{
    "Garder les détails de la photo (date, appareil, lieu)",
    "Keep the photo's details (date, camera, place)"};
inline constexpr LanguageText KeepDetailsHint{
    "Garde aussi la date, l'appareil et les autres détails,\n"
    "qui peuvent dire où la photo a été prise (sa position GPS).",
    "Also keeps the date, the camera and the other details,\n"
    "which may include where the photo was taken (its GPS position)."};

// The slider's context menu: the lowest quality whose preview is at least this similar to
// the loaded picture. %1 is the similarity asked for.
inline constexpr LanguageText SimilaritySearchItem{"Plus petit fichier au-dessus d'une similarité…",
                                                   "Smallest file above a similarity…"};
inline constexpr LanguageText SimilaritySearchPrompt{
    "Similarité minimale à l'image chargée (SSIM), de 0,80 à 0,999 :",
    "Lowest similarity to the loaded picture (SSIM), from 0.80 to 0.999:"};
inline constexpr LanguageText SimilaritySearchNothingReaches{
    "Même à la qualité 100 %, la similarité reste sous %1.",
    "Even at quality 100 %, the similarity stays below %1."};

// The slider's context menu: new files coded with optimised tables and progressive scans.
inline constexpr LanguageText SmallerFileItem{"Fichier plus petit, même image (progressif)",
                                              "Smaller file, same picture (progressive)"};
inline constexpr LanguageText SmallerFileHint{
    "Tables optimisées et balayages progressifs :\n"
    "les mêmes pixels en quelques pour cent d'octets de moins.",
    "Optimised tables and progressive scans:\n"
    "the same pixels in a few per cent fewer bytes."};

// The slider's context menu: new files whose coefficients are chosen for how they look.
inline constexpr LanguageText SmallestFileItem{"Fichier le plus petit pour le rendu",
                                               "Smallest file for the look"};
inline constexpr LanguageText SmallestFileHint{
    "Coefficients choisis bloc par bloc selon ce que l'œil voit :\n"
    "le fichier le plus petit pour le même rendu, plus long à faire.",
    "Coefficients chosen block by block for what the eye sees:\n"
    "the smallest file for the same look, slower to make."};

// The slider's context menu: the longest side of new files. %1 is a number of pixels.
inline constexpr LanguageText LongestSideMenu{"Plus grand côté", "Longest side"};
inline constexpr LanguageText OriginalSizeItem{"Taille d'origine", "Original size"};
inline constexpr LanguageText LongestSideItem{"%1 pixels", "%1 pixels"};
// The label beside the compressed size when the new file is smaller in pixels, and the line
// the similarity tooltip adds then. %1 and %2 are the new width and height.
inline constexpr LanguageText NewPixelSize{"Réduite à %1 × %2", "Resized to %1 × %2"};
inline constexpr LanguageText MeasuredOnResized{
    "Mesurée sur l'image chargée réduite de même",
    "Measured against the loaded picture resized the same way"};

// The name label's tooltip for a JPEG whose EXIF block says its pixels are stored turned or
// mirrored: the prefix, then the way other viewers show it, by EXIF orientation (2 to 8).
inline constexpr LanguageText StoredTurned{
    "Enregistrée tournée : les autres visionneuses montrent cette photo ",
    "Stored turned: other viewers show this photo "};
inline constexpr std::array<LanguageText, 9> StoredOrientations{{
    {"", ""},
    {"", ""},
    {"retournée de gauche à droite", "mirrored left to right"},
    {"tournée de 180°", "turned 180°"},
    {"retournée de haut en bas", "mirrored top to bottom"},
    {"tournée de 90° dans le sens horaire et retournée de gauche à droite",
     "turned 90° clockwise and mirrored left to right"},
    {"tournée de 90° dans le sens horaire", "turned 90° clockwise"},
    {"tournée de 90° dans le sens antihoraire et retournée de gauche à droite",
     "turned 90° anticlockwise and mirrored left to right"},
    {"tournée de 90° dans le sens antihoraire", "turned 90° anticlockwise"},
}};

// The eight points of the help window, in order.
inline constexpr std::array<LanguageText, 8> HelpParagraphs{{
    {"Appuyez sur le bouton \"Charger fichier\" et selectionnez un fichier BMP ou JPG.",
     "Push the \"Load file\" button and select a BMP or JPG file."},
    {"Appuyez sur le bouton \"Rotation original\" si vous voulez créer un nouveau fichier, avec "
     "rotation sans perte de qualité, de l'image originale (90, 180, 270°).",
     "Push the \"Rotate original\" button if you want to produce a new file, with losslessly "
     "rotation of the original picture (90, 180, 270°)."},
    {"Utilisez le pointeur de souris pour déplacer le curseur \"Ajustement qualité jpeg\", "
     "jusqu'à obtenir un bon compromis entre qualité visuelle et taille du futur fichier jpg "
     "(image de droite).",
     "Use the mouse pointer to drag the \"Jpeg quality adjust\" cursor, until you reach a good "
     "compromise between visual quality and size of the future jpg file (right picture)."},
    {"Dans le cas d'un gros fichier BMP, la compression du nouveau fichier JPG peut prendre un "
     "certain temps : Patientez jusqu'à ce que l'image de droite disparaisse et soit remplacée "
     "par celle ayant la nouvelle qualité choisie.",
     "For a large BMP file, it can take some time for this new JPG file to be compressed : Wait "
     "for the right-hand picture to vanish and to be repainted again with the new quality."},
    {"Si necessaire (grandes images), double-cliquez sur l'image de droite pour ouvrir une "
     "nouvelle fenêtre où vous pourrez déplacer la nouvelle image.",
     "If needed (large images), double-click on the right-hand picture to open a new window "
     "where you will be able to pan/drag the new picture."},
    {"La petite barre de progression indique la quantité de MÉMOIRE PHYSIQUE disponible sur "
     "votre PC.",
     "The top-center progress-bar indicates the quantity of PHYSICAL MEMORY still available on "
     "your computer."},
    {"Quand vous avez déterminé le bon équilibre entre qualité (compression %) et taille (Mo) du "
     "futur fichier JPG, sauvegardez le, en poussant le bouton \"Sauvegarde jpg\".",
     "When you are satisfied with the quality (compression %) and size (Mb) of the future JPG "
     "file, save it, using the \"Save jpg as\" button."},
    {"Vous avez à présent la possibilité de faire une rotation sans perte de qualité de ce "
     "nouveau fichier jpg, par pas de 90°.",
     "You now have the opportunity to losslessly rotate this new jpg file, by steps of 90°."},
}};

// The help window's closing line, centred under the eight points.
inline constexpr LanguageText HelpClosingLine{
    "Logiciel gratuit : copiez-le et donnez-le librement, mais ne le vendez pas",
    "Freeware: copy it and give it away freely, but do not sell it"};

} // namespace Texts
