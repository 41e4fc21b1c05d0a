[道路等级]
; road class = lowest road width (m) of the class; a width belongs to the class with the greatest lower bound not above it
主干路=40
次干路=24
支路=12
街坊路=0
[切角标准]
; class-class = standard value (m); the order of the two classes does not matter
主干路-主干路=20
主干路-次干路=15
主干路-支路=10
次干路-次干路=15
次干路-支路=10
支路-支路=5
街坊路-街坊路=5
