// Faciora window library placeholder: keeps the library non-empty until its windows land.
