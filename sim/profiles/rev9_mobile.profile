# A Revision 9 KM700 mobile with its own Flash Index Table.
type = 4
name = KM700 Revision 9 mobile
trunk_job = yes
