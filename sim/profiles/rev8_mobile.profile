# A Revision 8 KM700 mobile: no Flash Index Table of its own (the programmer uses FIT000101.bin).
type = 0
name = KM700 Revision 8 mobile
trunk_job = yes
