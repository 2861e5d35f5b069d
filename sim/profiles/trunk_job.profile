# The demo radio: a Revision 8 mobile in the TK band holding the template trunk job with the demo
# network as Network 1, so that Read Radio gives a job every form can show.
type = 0
name = demo radio with a trunk job
serial_number = VIRTUAL-DEMO01
band = TK
trunk_job = yes
trunk_job_file = ../../data/default.tct
network1_file = ../../data/Networks/Demo.nwk
