# A Revision 9 mobile with a PMR job of 24 channels, selcall encodes, group B channels and zones.
type = 4
name = radio with a PMR job
# A band of the band table (TK, 400-450 MHz), so that a read shows it on the Radio Type form.
band = TK
pmr_channels = 24
pmr_encodes = 4
pmr_group_b = 2
pmr_zones = 2
