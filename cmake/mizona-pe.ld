/* The layout of mizona.exe: three sections, so that the headers fit in one
   512-byte file block, and no byte of padding that a section of its own
   would cost.

   .flat   the code, the texts and the import table in one section. It is
           writable: the loader writes the resolved addresses into the import
           address table. Windows NT unprotects that table for the time it
           takes; the Windows 95/98 loader is not documented to, so the table
           stays in writable pages. A section named .text would be forced
           read-only by the linker, hence the name.
   .rsrc   the version record and the icon.
   .reloc  the base relocations, which Win32s on Windows 3.1 needs to place
           the program at all (it loads every program into one address
           space), and any loader that cannot use the preferred base.

   Anything else is refused at link time (--orphan-handling=error), so a
   stray section cannot add a fourth. */
SECTIONS
{
  . = SIZEOF_HEADERS;
  . = ALIGN(__section_alignment__);
  .flat __image_base__ + __section_alignment__ :
  {
    *(.text) *(SORT(.text$*)) *(.text.*)
    /* Empty lists of static constructors and destructors close the code:
       the exe test reads them there, and a constructor would fill them
       (nothing runs them: there is no C runtime). */
    LONG (-1); KEEP (*(.ctors)) KEEP (*(.ctor)) KEEP (*(SORT_BY_NAME(.ctors.*))) LONG (0);
    LONG (-1); KEEP (*(.dtors)) KEEP (*(.dtor)) KEEP (*(SORT_BY_NAME(.dtors.*))) LONG (0);
    *(.rdata) *(SORT(.rdata$*))
    *(.data) *(SORT(.data$*)) *(.bss) *(COMMON)
    /* The import table, in the order the loader reads it. The linker finds
       the import directory (.idata$2 up to .idata$4) and the import address
       table (.idata$5 up to .idata$6) by these names, as image-relative
       addresses; it looks for them by section name only in a section
       named .idata. */
    ".idata$2" = . - __image_base__;
    KEEP (SORT(*)(.idata$2))
    KEEP (SORT(*)(.idata$3))
    LONG (0); LONG (0); LONG (0); LONG (0); LONG (0);
    ".idata$4" = . - __image_base__;
    KEEP (SORT(*)(.idata$4))
    ".idata$5" = . - __image_base__;
    KEEP (SORT(*)(.idata$5))
    ".idata$6" = . - __image_base__;
    KEEP (SORT(*)(.idata$6))
    KEEP (SORT(*)(.idata$7))
  }
  .rsrc BLOCK(__section_alignment__) : SUBALIGN(4)
  {
    KEEP (*(.rsrc)) KEEP (*(.rsrc$*))
  }
  .reloc BLOCK(__section_alignment__) :
  {
    *(.reloc)
  }
  /DISCARD/ :
  {
    *(.drectve) *(.note.GNU-stack) *(.gnu.lto_*)
  }
}
