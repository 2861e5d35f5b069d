# A Revision 10 KM700 mobile with new flash devices.
type = 8
name = KM700 Revision 10 mobile
flash_type = 2
trunk_job = yes
