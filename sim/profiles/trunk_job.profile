# The demo radio: a Revision 8 mobile with a trunk job on network SIMNET, band A1.
type = 0
name = demo radio with a trunk job
serial_number = DEMO000001
trunk_job = yes
