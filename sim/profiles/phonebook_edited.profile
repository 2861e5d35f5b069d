# A Revision 8 mobile with a trunk job whose phonebook the user edited on the radio itself.
type = 0
name = radio with an edited phonebook
trunk_job = yes
trunk_phonebook_edited = yes
