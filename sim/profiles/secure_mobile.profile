# A secure Revision 8 mobile: the programmer refuses to read or write it.
type = 16
name = secure mobile
trunk_job = yes
