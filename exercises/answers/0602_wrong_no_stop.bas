' Question 602: the list typed with "France" instead of "France.".
' expect: B
Application.AddCustomList ListArray:=Array("España", "France", "UK")
#check
