// Numeric ids of the dialogs' pictures, resources of the module
// (src/dialogs/res/dialogs.rc). Plain defines: the resource compiler reads them.
#pragma once

#define IDR_JPEG_STRIP 201 /* RCDATA: left strip of the property dialogs, 76 x 316 */
#define IDR_JPEG_ABOUT 202 /* RCDATA: About box picture, 202 x 170 */
#define IDI_FOOTER 203     /* ICON: footer icon, 48/32/16 px at 4/8/32 bpp */
#define IDB_PICKER24 204   /* BITMAP: picker glyph, 26 x 24, 24 bpp */
#define IDB_PICKER32 205   /* BITMAP: picker glyph, 26 x 24, 32 bpp */
