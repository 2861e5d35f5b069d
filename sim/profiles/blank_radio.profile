# A Revision 8 mobile with nothing configured: every data area is erased.
type = 0
name = blank radio
blank = yes
