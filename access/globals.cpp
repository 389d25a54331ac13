// The globals that the library shares with its host, with their values when the
// library is loaded.
#include "access/dostup.h"

extern "C" {

int32_t GlobalRequest = 0;
int32_t GlobalResponse = 0;
int32_t VCRRequest = 0;
uint16_t g_SCode = 0;

char g_IniFileName[121] = ".\\Dostup.ini";
char g_BasePath[121] = ".\\Dat\\";
char g_HelpPath[121] = ".\\Help\\";

uint8_t G_PatternFlag = 1;
char G_Form1[81] = ".\\pic\\Form1.bmp";
char G_Form2[81] = ".\\pic\\Form2.bmp";
char G_FormDel[81] = ".\\pic\\FormDel.bmp";
char G_Tabl1[81] = ".\\pic\\Tabl1.bmp";
char G_Tabl2[81] = ".\\pic\\Tabl2.bmp";
char G_TablSel[81] = ".\\pic\\TablSel.bmp";
char G_Vedom1[81] = ".\\pic\\Vedom1.bmp";
char G_Vedom2[81] = ".\\pic\\Vedom2.bmp";

uint8_t G_FilterFlag = 0;
char G_FilterName[101] = "";
char G_FilterStr[201] = "";

// STRING(80) names start as their built-in defaults padded with blanks; the
// padding is written out once when the library is loaded (see the initialiser
// below), since an aggregate initialiser cannot pad with blanks.
char MOL_spr[80];
char KatMOL_spr[80];
char MolLOG_spr[80];
char OtdMOL_spr[80];
char Dostup_spr[80];
char Object_spr[80];
char Filter_spr[80];
char HistList_spr[81] = ".\\dat\\HistList";

}  // extern "C"
