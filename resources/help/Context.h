/* Help context numbers: the program opens the help at IDH_PRINTER_SELECTION. */
#define IDH_PRINTER_SELECTION 5401
