/*
 * dostup: the access library of the trade and warehouse accounting suite.
 *
 * The C interface through which any program of the suite binds the library:
 * its initialisation and the globals it shares with its host. The globals live
 * in the library; a host reads and writes the same storage in place.
 *
 * Strings are code page 1251 byte arrays of the declared sizes: CSTRING(n) globals
 * are zero-ended texts of at most n-1 characters in char[n]; STRING(n) globals are
 * n bytes padded on the right with blanks and carry no terminating zero.
 *
 * Call DOSTUP_INITDLL once before any other export: the data-file names are not
 * valid before. A host may then point g_IniFileName and g_BasePath at its own
 * settings.
 */
#ifndef DOSTUP_H
#define DOSTUP_H

#include <stdint.h>

#if defined(__GNUC__)
#define DOSTUP_API __attribute__((visibility("default")))
#else
#define DOSTUP_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Request passed to an update or selection screen: 1 insert, 2 change, 3 delete,
 * 4 select, 0 none. */
DOSTUP_API extern int32_t GlobalRequest;
/* Answer of that screen: 1 completed, 2 cancelled. */
DOSTUP_API extern int32_t GlobalResponse;
/* Navigation request between a form and its list: 0, 2000 or 2004..2009. */
DOSTUP_API extern int32_t VCRRequest;

/* Employee code of the logged-in operator; 0 when nobody is logged in. */
DOSTUP_API extern uint16_t g_SCode;

DOSTUP_API extern char g_IniFileName[121]; /* INI file of the library's settings */
DOSTUP_API extern char g_BasePath[121];    /* data directory, ending in a backslash */
DOSTUP_API extern char g_HelpPath[121];    /* directory of the help pages */

/* Background pictures of lists and forms. */
DOSTUP_API extern uint8_t G_PatternFlag;
DOSTUP_API extern char G_Form1[81];
DOSTUP_API extern char G_Form2[81];
DOSTUP_API extern char G_FormDel[81];
DOSTUP_API extern char G_Tabl1[81];
DOSTUP_API extern char G_Tabl2[81];
DOSTUP_API extern char G_TablSel[81];
DOSTUP_API extern char G_Vedom1[81];
DOSTUP_API extern char G_Vedom2[81];

/* The saved filter in force. */
DOSTUP_API extern uint8_t G_FilterFlag;
DOSTUP_API extern char G_FilterName[101];
DOSTUP_API extern char G_FilterStr[201];

/* Full disk names of the access data files: STRING(80), blank-padded. */
DOSTUP_API extern char MOL_spr[80];
DOSTUP_API extern char KatMOL_spr[80];
DOSTUP_API extern char MolLOG_spr[80];
DOSTUP_API extern char OtdMOL_spr[80];
DOSTUP_API extern char Dostup_spr[80];
DOSTUP_API extern char Object_spr[80];
DOSTUP_API extern char Filter_spr[80];
/* Full disk name of the input-history file: CSTRING(81), zero-ended. */
DOSTUP_API extern char HistList_spr[81];

/* Reads the library's INI file ".\Dostup.INI" (section "Path", keys "HelpPath"
 * and "BasePath") and names the access data files from the data directory as it
 * is at this moment. May be called again; each call resets g_IniFileName. */
DOSTUP_API void DOSTUP_INITDLL(void);

/* Log-in: clears g_SCode, runs the login window and returns the code of the
 * employee who logged in, or 0 when the login was cancelled or never succeeded. */
DOSTUP_API uint16_t REGISTR_S(void);
/* The modal login window "Регистрация"; leaves the result in g_SCode. */
DOSTUP_API void REGISTRATION(void);

/* The prohibition mask of an access object (its designation, e.g. "Valut") for a
 * category: bit 0 access, 1 insert, 2 change, 3 delete, 4 write, 5 approve,
 * 6 cancel approval, 7 print; a set bit forbids. A null category means "omitted":
 * the category of the logged-in operator. An object that is not registered is
 * reported in a message box and forbids nothing; no rights row forbids nothing.
 * When the object, the rights row or the operator's employee cannot be read
 * (a file held by another station past the wait, a file that does not open, a
 * lost server) the check says so in one message box and returns 255, every
 * ban: a failed read never grants. The caller guarantees that
 * `designation` is a zero-ended text (or null, read as empty) and that a
 * non-null `category` points to a readable int16_t. */
DOSTUP_API int16_t DOSTOBJ(const char *designation, const int16_t *category);
/* The category of an employee; 0 for a code that does not exist, -1 (no
 * category has it) when the employee file could not be read. */
DOSTUP_API int16_t GETMOL_KATEG(uint16_t code);

/* Employee names. The result points to a buffer of the library, valid until the
 * next call of the same function: callers copy it. */
DOSTUP_API const char *GETMOL_NAME(uint16_t code);  /* surname, blank, first names */
DOSTUP_API const char *GETMOL_SNAME(uint16_t code); /* surname with initials */

/* Opens a help page by topic ("Sprav\Firm.htm" or "Sprav\Firm") under
 * g_HelpPath, and any document with the program associated with it. The outcome
 * is not examined. */
DOSTUP_API void CALLHELP(const char *topic);
DOSTUP_API void FILEEXECUTE(const char *file);

/* Upper-cases `size` bytes of `text` in place: "а".."я" become "А".."Я", other
 * letters as the runtime upper-cases them. The caller guarantees that `size`
 * bytes starting at `text` belong to one writable buffer; the text needs no
 * terminating zero (a zero byte is passed over like any other). A null `text`
 * or a `size` of 0 or less changes nothing. */
DOSTUP_API void UPPERSTR(char *text, int32_t size);

/* The library's screens. A list call opens the list as a child window of the
 * host's frame and returns at once; in a host without windows of its own it runs
 * the list until it is closed. With GlobalRequest 4 a list is a picker: it runs
 * until closed and leaves the chosen record in the library's buffer with
 * GlobalResponse 1. */
DOSTUP_API void OTDMOL_T(void); /* departments "Справочник Подразделений" */
DOSTUP_API void FILTER_T(void); /* saved filters "Список Фильтров" */
DOSTUP_API void HLIST_T(void);  /* input history "Список Истории поля" */

/* Saved filters of a table designation ("MOL_t"): the user picks one in the
 * filter list. Returns "expression|name" (both without trailing blanks), or "|"
 * when nothing was picked. */
DOSTUP_API const char *FILTER_S(const char *table);
/* Input history of a field designation ("MOL:LNAME"): the user picks a value in
 * the history list. Returns it without trailing blanks, or an empty text. */
DOSTUP_API const char *HLIST_S(const char *field);
/* Remembers `value` in the history of `field`, with `name` as its name (null
 * when omitted). A value the field already holds is silently not added. */
DOSTUP_API void PUTHLIST(const char *field, const char *value, const char *name);
/* The texts of FILTER_S and HLIST_S are code page 1251, in buffers of the library
 * valid until the next call of the same function. Text arguments are zero-ended
 * (null reads as empty); a designation is cut to 20 characters, a value to 20,
 * a name to 80. */

/* Employees. MOL_T is the list "Справочник Сотрудников" (add, change, delete,
 * print; each completed form adds a change-log entry); MOL_ the selection list
 * " Выбор Сотрудника", called with GlobalRequest 4, which leaves the picked
 * employee in the library's MOL buffer with GlobalResponse 1. */
DOSTUP_API void MOL_T(void);
DOSTUP_API void MOL_(void);
/* Runs MOL_ and returns the picked employee's code, or 0 (the MOL buffer then
 * empty) when the user cancelled. */
DOSTUP_API uint16_t MOL_S(void);
/* Adds a change-log entry for the employee in the MOL buffer: today, now, the
 * operator g_SCode, `operation` (cut to 32 characters), no note. A failed add
 * is not reported. */
DOSTUP_API void PUTMOLLOG(const char *operation);

/* The library's dispatcher. "/S=" followed by an employee code of one or two
 * digits sets g_SCode without a password (the calling program vouches for its
 * operator); "/P=" followed by a procedure name (MOL_T, OTDMOL_T, KATMOL_T,
 * OBJECT_T, INFO_SCR; any letter case, 15 characters at most) starts that
 * screen. Without "/P=" the operator logs in and the console frame " Сотрудники"
 * runs until it is closed. A name that matches no procedure is reported in a
 * message box. */
DOSTUP_API void C_DOS(const char *command);

/* Employee categories "Категории Сотрудников", with the rights grid of the
 * highlighted category behind its "Доступ" button. */
DOSTUP_API void KATMOL_T(void);
/* Access objects of the suite, the designations DOSTOBJ is asked about. */
DOSTUP_API void OBJECT_T(void);

/* Renders a staff document into a PDF file without any window, for a host's
 * command line: "Staff", "StaffByDepartment", "StaffStatement" (the staff lists),
 * "TravelCertificate" and "PowerOfAttorney" (for the employee `code`), in any
 * letter case; also the printed rights: "RightsLog" (the rights journal) and
 * "Rights" (the bans of the employee `code`'s category on every object, or of
 * every category when `code` is 0), and "EmployeeChanges" (the fields the
 * employee form changed, of the employee `code` or of everyone when 0). `path` is a file name of the host system. A host without a Qt
 * application gets one, on the offscreen platform when there is no display; the
 * file is written whole or not at all, readable by its owner alone. Returns the
 * pages written; 0
 * when there was nothing to print (no file is written); -1 an unknown document,
 * -2 no employee has `code`, -3 the file could not be written, -4 a build of the
 * library without windows. */
DOSTUP_API int32_t DOSTUP_PRINTPDF(const char *document, uint16_t code, const char *path);

/* Writes one of the library's lists ("MOL", "OtdMOL", "KatMOL", "Object", any
 * letter case) into a spreadsheet file without any window, for a host's command
 * line: XLSX or CSV by the extension of `path` (a file name of the host system),
 * the rows in the list's first order, as its "В таблицу" writes them; the file is
 * written whole or not at all. Returns the rows written; -1 an unknown list or
 * extension, -2 nothing written (refused by the print ban, or a failure; the
 * reason is shown through the library's messages). */
DOSTUP_API int32_t DOSTUP_EXPORTLIST(const char *list, const char *path);

/* A refusal of the rights check that a host's screen shows: the operator g_SCode
 * refused `bit` (1 access, 2 insert, 4 change, 8 delete, ... 128 print) of the
 * mask of `designation`. The refusal is written to the rights journal (repeats
 * of the same operator, object and ban within a minute are counted in one
 * entry). Returns the line the host adds under its refusal text: "Объект
 * «Firm», категория «Склад»: запрет доступа" when the operator's own category
 * may open the rights, an empty text for everybody else; code page 1251, in a
 * buffer of the library valid until the next call. */
DOSTUP_API const char *DOSTUP_REFUSAL(const char *designation, int32_t bit);

/* Fills the library's data files with sample staff for a first look at the
 * suite, for a host's command line ("tarvo --demo"): departments, employee
 * categories with some bans (for category 0, the operator who has not logged
 * in, the library's administrative objects, as in every new installation),
 * thirty employees each with the change-log entry of its creation,
 * the access objects, saved filters and input history. The data folder named by
 * g_BasePath at DOSTUP_INITDLL is created when missing. Returns 0 when the files
 * were written; 1 when the folder holds a data file already (nothing is
 * written); 2 when a folder or a record could not be written (reported through
 * the library's messages). */
DOSTUP_API int32_t DOSTUP_SAMPLESTAFF(void);

#ifdef __cplusplus
}
#endif

#endif /* DOSTUP_H */
